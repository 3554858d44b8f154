#include "interop/References.h"
#include "interop/HostText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace moru::interop;

namespace {
// A buffer with guard bytes on both sides, to catch writes past either end.
struct GuardedBuffer {
    explicit GuardedBuffer(int size) : size(size), bytes(static_cast<std::size_t>(size) + 16, '#') {}
    char* data() { return bytes.data() + 8; }
    bool GuardsIntact() const
    {
        return bytes.compare(0, 8, "########") == 0 &&
               bytes.compare(static_cast<std::size_t>(size) + 8, 8, "########") == 0;
    }
    int size;
    std::string bytes;
};
} // namespace

TEST(CopyRules, TextOfSizeMinusOneBytesIsCopiedWhole)
{
    GuardedBuffer buffer(6);
    EXPECT_TRUE(CopySized("water", buffer.data(), buffer.size));
    EXPECT_STREQ(buffer.data(), "water");
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(CopyRules, TextOfExactlySizeBytesLeavesTheBufferEmpty)
{
    GuardedBuffer buffer(5);
    EXPECT_FALSE(CopySized("water", buffer.data(), buffer.size));
    EXPECT_STREQ(buffer.data(), "");
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(CopyRules, BufferOfSizeOneTakesOnlyTheEmptyText)
{
    GuardedBuffer buffer(1);
    EXPECT_FALSE(CopySized("x", buffer.data(), 1));
    EXPECT_EQ(buffer.data()[0], '\0');
    EXPECT_TRUE(CopySized("", buffer.data(), 1));
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(CopyRules, NullBufferOrNonPositiveSizeWritesNothing)
{
    GuardedBuffer buffer(4);
    EXPECT_FALSE(CopySized("a", nullptr, 4));
    EXPECT_FALSE(CopySized("a", buffer.data(), 0));
    EXPECT_FALSE(CopySized("a", buffer.data(), -3));
    EXPECT_EQ(buffer.data()[0], '#');
}

TEST(CopyRules, TerminatedCopySetsTheLastByte)
{
    GuardedBuffer buffer(8);
    std::memset(buffer.data(), 'z', 8);
    CopySizedClosingLastByte("ab", buffer.data(), 8);
    EXPECT_STREQ(buffer.data(), "ab");
    EXPECT_EQ(buffer.data()[7], '\0');
    EXPECT_EQ(buffer.data()[5], 'z');
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(CopyRules, CopyStringToCharBufferReportsALeadingBlankAsNoValue)
{
    GuardedBuffer buffer(16);
    EXPECT_FALSE(CopyStringToCharBuffer(" methane", buffer.data(), buffer.size));
    EXPECT_STREQ(buffer.data(), " methane");
    EXPECT_TRUE(CopyStringToCharBuffer("methane", buffer.data(), buffer.size));
}

TEST(CopyRules, CopyStringToCharBufferLeavesTheBufferUntouchedForAnEmptyText)
{
    GuardedBuffer buffer(16);
    std::strcpy(buffer.data(), "before");
    EXPECT_FALSE(CopyStringToCharBuffer("", buffer.data(), buffer.size));
    EXPECT_STREQ(buffer.data(), "before");
}

TEST(CopyRules, CopyStringToCharBufferOfATooLongTextEmptiesTheBuffer)
{
    GuardedBuffer buffer(4);
    std::strcpy(buffer.data(), "abc");
    EXPECT_FALSE(CopyStringToCharBuffer("abcd", buffer.data(), buffer.size));
    EXPECT_STREQ(buffer.data(), "");
    EXPECT_TRUE(buffer.GuardsIntact());
}

// Under Windows the host's ANSI code page (1252 under Wine) holds "é" in one byte; elsewhere
// hosts speak UTF-8 and it takes two. Buffer sizes count those bytes.
#ifdef _WIN32
constexpr std::size_t kEAcuteBytes = 1;
#else
constexpr std::size_t kEAcuteBytes = 2;
#endif

TEST(CodePage, AccentedLetterTakesTheHostsByteCount)
{
    const std::string text = "caf\xC3\xA9"; // "café" in UTF-8
    EXPECT_EQ(ToHost(text).size(), 3 + kEAcuteBytes);
    EXPECT_EQ(FromHost(ToHost(text).c_str()), text);

    const int exactSize = static_cast<int>(3 + kEAcuteBytes + 1);
    GuardedBuffer fits(exactSize);
    EXPECT_TRUE(CopySized(text, fits.data(), fits.size));
    EXPECT_EQ(std::strlen(fits.data()), 3 + kEAcuteBytes);
    GuardedBuffer tooSmall(exactSize - 1);
    EXPECT_FALSE(CopySized(text, tooSmall.data(), tooSmall.size));
    EXPECT_STREQ(tooSmall.data(), "");
    EXPECT_TRUE(tooSmall.GuardsIntact());
}

TEST(CodePage, NullHostTextReadsAsEmpty) { EXPECT_EQ(FromHost(nullptr), ""); }

TEST(CallbackText, AbsentValueIsANullPointer)
{
    EXPECT_EQ(CallbackText(std::nullopt).get(), nullptr);
    EXPECT_STREQ(CallbackText(std::string_view("")).get(), "");
}

TEST(HostList, EndsAtNullPointerOrEmptyString)
{
    const char* withNull[] = {"A.B", "C.D", nullptr, "E.F"};
    EXPECT_EQ(ReadHostList(withNull), (std::vector<std::string>{"A.B", "C.D"}));
    const char* withEmpty[] = {"A.B", "", "C.D", nullptr};
    EXPECT_EQ(ReadHostList(withEmpty), (std::vector<std::string>{"A.B"}));
    EXPECT_TRUE(ReadHostList(nullptr).empty());
    const char* counted[] = {"x", nullptr, "z"};
    EXPECT_EQ(ReadHostList(counted, 3), (std::vector<std::string>{"x", "", "z"}));
}

TEST(DatabankReference, SplitsAtTheFirstFullStopAndIgnoresFurtherPieces)
{
    auto name = SplitDatabankReference("DB.BANK.extra");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->databaseAlias, "DB");
    EXPECT_EQ(name->databankName, "BANK");
    EXPECT_FALSE(SplitDatabankReference("NOSTOP"));
    auto empty = SplitDatabankReference(".");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->databaseAlias, "");
    EXPECT_EQ(empty->databankName, "");
    auto trailing = SplitDatabankReference("DB.BANK.");
    ASSERT_TRUE(trailing);
    EXPECT_EQ(trailing->databankName, "BANK");
    auto noBank = SplitDatabankReference("DB..BANK");
    ASSERT_TRUE(noBank);
    EXPECT_EQ(noBank->databaseAlias, "DB");
    EXPECT_EQ(noBank->databankName, "");
}

TEST(Moniker, NeedsExactlyOneBlank)
{
    auto name = SplitMoniker("DB BANK");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->databankName, "BANK");
    EXPECT_FALSE(SplitMoniker("DB  BANK"));
    EXPECT_FALSE(SplitMoniker("DBBANK"));
    EXPECT_FALSE(SplitMoniker("A B C"));
    EXPECT_EQ(MakeMoniker("DB", "BANK"), "DB BANK");
}

TEST(CodePage, HostTextWhoseOnlyHighByteIs0x80ArrivesConverted)
{
#ifdef _WIN32
    // 0x80 is the euro sign in code page 1252; it is the lowest byte that is not ASCII.
    EXPECT_EQ(FromHost("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(FromHost("x\x80y"), "x\xE2\x82\xACy");
    EXPECT_EQ(ToHost("\xE2\x82\xAC"), "\x80");
#else
    EXPECT_EQ(FromHost("\x80"), "\x80");
#endif
}

TEST(CopyRules, FixedBufferKeepsItsLastByteNulAndLeavesEmptyTextsAlone)
{
    GuardedBuffer buffer(static_cast<int>(FixedBuffer::DatabaseName));
    std::memset(buffer.data(), 'z', static_cast<std::size_t>(buffer.size));
    EXPECT_FALSE(CopyToFixedBuffer("", buffer.data(), FixedBuffer::DatabaseName));
    EXPECT_EQ(buffer.data()[0], 'z');
    EXPECT_EQ(buffer.data()[19], '\0');
    EXPECT_TRUE(CopyToFixedBuffer(std::string(19, 'a'), buffer.data(), FixedBuffer::DatabaseName));
    EXPECT_EQ(std::strlen(buffer.data()), 19u);
    EXPECT_FALSE(CopyToFixedBuffer(std::string(20, 'a'), buffer.data(), FixedBuffer::DatabaseName));
    EXPECT_STREQ(buffer.data(), "");
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(CopyRules, UnboundedCopyWritesTheWholeTextUpToAnEmbeddedNul)
{
    GuardedBuffer buffer(8);
    CopyUnbounded(std::string("ab\0cd", 5), buffer.data());
    EXPECT_STREQ(buffer.data(), "ab");
    EXPECT_EQ(buffer.data()[3], '#');
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(NameParts, SplitAtEveryKeepsEmptyParts)
{
    EXPECT_EQ(SplitAtEvery("A..B", '.'), (std::vector<std::string>{"A", "", "B"}));
    EXPECT_EQ(SplitAtEvery("", '.'), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitAtEvery("DB.", '.'), (std::vector<std::string>{"DB", ""}));
}
