#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace moru::platform;

namespace {

struct FoldingCase {
    const char* What;
    std::string Text;
    std::string Folded;
};

// Pairs taken from CaseFolding.txt (status C and S), written out as UTF-8 bytes so that the source
// encoding cannot blur them.
const std::vector<FoldingCase> UnicodePairs = {
    {"Latin-1 E acute", "\xC3\x89", "\xC3\xA9"},                         // U+00C9 -> U+00E9
    {"Latin-1 thorn", "\xC3\x9E", "\xC3\xBE"},                           // U+00DE -> U+00FE
    {"Y diaeresis", "\xC5\xB8", "\xC3\xBF"},                             // U+0178 -> U+00FF
    {"long s", "\xC5\xBF", "s"},                                         // U+017F -> U+0073
    {"L acute, odd capital", "\xC4\xB9", "\xC4\xBA"},                    // U+0139 -> U+013A
    {"Z acute, odd capital", "\xC5\xB9", "\xC5\xBA"},                    // U+0179 -> U+017A
    {"Z caron", "\xC5\xBD", "\xC5\xBE"},                                 // U+017D -> U+017E
    {"DZ caron titlecase", "\xC7\x85", "\xC7\x86"},                      // U+01C5 -> U+01C6
    {"A with stroke, folds longer", "\xC8\xBA", "\xE2\xB1\xA5"},         // U+023A -> U+2C65
    {"capital sharp s (status S)", "\xE1\xBA\x9E", "\xC3\x9F"},          // U+1E9E -> U+00DF
    {"Greek alpha with tonos", "\xCE\x86", "\xCE\xAC"},                  // U+0386 -> U+03AC
    {"Greek capital sigma", "\xCE\xA3", "\xCF\x83"},                     // U+03A3 -> U+03C3
    {"Greek final sigma", "\xCF\x82", "\xCF\x83"},                       // U+03C2 -> U+03C3
    {"Cyrillic IO", "\xD0\x81", "\xD1\x91"},                             // U+0401 -> U+0451
    {"Cyrillic ZHE", "\xD0\x96", "\xD0\xB6"},                            // U+0416 -> U+0436
    {"Cyrillic OMEGA", "\xD1\xA0", "\xD1\xA1"},                          // U+0460 -> U+0461
    {"Kelvin sign", "\xE2\x84\xAA", "k"},                                // U+212A -> U+006B
    {"Ohm sign", "\xE2\x84\xA6", "\xCF\x89"},                            // U+2126 -> U+03C9
    {"Deseret, beyond the BMP", "\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"}, // U+10400 -> U+10428
};

// Code points that simple folding leaves alone, though other foldings or casings change them.
const std::vector<FoldingCase> Unchanged = {
    {"multiplication sign between capitals", "\xC3\x97", "\xC3\x97"},      // U+00D7
    {"sharp s (full folding only)", "\xC3\x9F", "\xC3\x9F"},               // U+00DF
    {"capital I with dot (Turkic and full only)", "\xC4\xB0", "\xC4\xB0"}, // U+0130
    {"dotless i", "\xC4\xB1", "\xC4\xB1"},                                 // U+0131
    {"small y diaeresis", "\xC3\xBF", "\xC3\xBF"},                         // U+00FF
};

} // namespace

TEST(FoldCase, FoldsEveryPairAsCaseFoldingTxtSays)
{
    for (const auto& pair : UnicodePairs) {
        EXPECT_EQ(FoldCase(pair.Text), pair.Folded) << pair.What;
        EXPECT_EQ(FoldCase(pair.Folded), pair.Folded) << pair.What << " (folded form is stable)";
        EXPECT_TRUE(EqualsIgnoringCase(pair.Text, pair.Folded)) << pair.What;
    }
    for (const auto& code : Unchanged) EXPECT_EQ(FoldCase(code.Text), code.Folded) << code.What;
}

TEST(FoldCase, FoldsWholeWordsAndKeepsTheRest)
{
    EXPECT_EQ(FoldCase("N,N-DIISOPROPYLETHYLAMINE 4,4\xE2\x80\xB2"), "n,n-diisopropylethylamine 4,4\xE2\x80\xB2");
    EXPECT_EQ(FoldCase("\xC3\x89THANOL"), "\xC3\xA9thanol"); // ÉTHANOL
    EXPECT_EQ(FoldCase(""), "");
    // Σ, σ and ς all fold to σ, wherever they stand in the word.
    EXPECT_EQ(FoldCase("\xCE\xA3\xCE\xA3"), FoldCase("\xCF\x83\xCF\x82"));
}

TEST(FoldCase, AppendsAfterWhatTheStringHolds)
{
    std::string key = "ALIAS";
    key.push_back('\0');
    AppendFoldedCase("BANK\xC3\x89-2.B", key); // BANKÉ-2.B: runs of ASCII around a letter that is not
    EXPECT_EQ(key, std::string("ALIAS\0bank\xC3\xA9-2.b", 16));
    key.clear();
    AppendFoldedCase("", key);
    EXPECT_EQ(key, "");
}

TEST(EqualsIgnoringCase, FollowsTheFolding)
{
    EXPECT_TRUE(EqualsIgnoringCase("Dipl", "dIPL"));
    EXPECT_TRUE(EqualsIgnoringCase("\xC3\x89THANOL", "\xC3\xA9thanol"));
    EXPECT_TRUE(EqualsIgnoringCase("\xE2\x84\xAA"
                                   "CAL",
                                   "kcal"));                                 // texts of different byte lengths
    EXPECT_TRUE(EqualsIgnoringCase("\xCE\x86\xCE\xA3", "\xCE\xAC\xCF\x82")); // ΆΣ and άς
    EXPECT_FALSE(EqualsIgnoringCase("ETHANOL", "\xC3\xA9thanol"));           // E does not fold to é
    EXPECT_FALSE(EqualsIgnoringCase("\xC5\xB8", "\xC5\xB9"));                // Ÿ is not Ź
    EXPECT_FALSE(EqualsIgnoringCase("abc", "abd"));
    EXPECT_FALSE(EqualsIgnoringCase("abc", "ab"));
    EXPECT_FALSE(EqualsIgnoringCase("", "a"));
}

TEST(FoldCase, KeepsBytesThatAreNotUtf8)
{
    const std::vector<FoldingCase> malformed = {
        {"truncated two-byte sequence at the end", "AB\xC3", "ab\xC3"},
        {"truncated three-byte sequence at the end", "K\xE2\x84", "k\xE2\x84"},
        {"truncated four-byte sequence at the end", "\xF0\x90\x90", "\xF0\x90\x90"},
        {"truncated sequence before a capital", "\xC3\xC3\x89", "\xC3\xC3\xA9"},
        {"lone continuation bytes",
         "\x80"
         "A\xBF",
         "\x80"
         "a\xBF"},
        {"overlong form of A", "\xC1\x81", "\xC1\x81"},
        {"overlong three-byte form", "\xE0\x81\x81", "\xE0\x81\x81"},
        {"surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
        {"bytes that never start a sequence", "\xFF\xFE\xC0", "\xFF\xFE\xC0"},
    };
    for (const auto& text : malformed) {
        EXPECT_EQ(FoldCase(text.Text), text.Folded) << text.What;
        EXPECT_TRUE(EqualsIgnoringCase(text.Text, text.Folded)) << text.What;
    }
    // A kept byte is not the character of the same number: lone 0xC9 is not É (U+00C9).
    EXPECT_FALSE(EqualsIgnoringCase("\xC9", "\xC3\x89"));
    EXPECT_FALSE(EqualsIgnoringCase("\xC3", "\xC3\x83"));
    // A text cut off inside a sequence (the view ends before the bytes that would complete it).
    const std::string whole = "\xC3\x89\xC3\x89";
    EXPECT_EQ(FoldCase(std::string_view(whole).substr(0, 3)), "\xC3\xA9\xC3");
    EXPECT_FALSE(EqualsIgnoringCase(std::string_view(whole).substr(0, 3), "\xC3\xA9\xC3\xA9"));
}

TEST(FoldCase, HandlesTextsOfSeveralMegabytes)
{
    std::string text;
    for (int i = 0; i < 500'000; ++i) text += "\xC3\x89THANOL\xE2\x84\xAA ";
    text += "\xC3"; // and malformed at the very end
    const std::string folded = FoldCase(text);
    ASSERT_EQ(folded.size(), text.size() - std::size_t{500'000} * 2);
    EXPECT_EQ(folded.substr(0, 10), "\xC3\xA9thanolk ");
    EXPECT_EQ(folded.substr(folded.size() - 11), "\xC3\xA9thanolk \xC3");
    EXPECT_TRUE(EqualsIgnoringCase(text, folded));
}

TEST(Blank, WhiteSpaceOnly)
{
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t "));
    EXPECT_FALSE(IsBlank(" x "));
}
