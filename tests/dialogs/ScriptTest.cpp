#include "Script.h"

#include <gtest/gtest.h>

#include <sstream>

using moru::components::ParseDialogValue;
using moru::components::ParseScript;
using moru::service::DialogValue;

namespace {
moru::components::Script Parse(const std::string& text)
{
    std::istringstream stream(text);
    return ParseScript(stream);
}
} // namespace

TEST(DialogScript, StepsWithTheirArgumentsSkippingCommentsAndBlankLines)
{
    const auto script = Parse("# a user\n\nsearch  heavy water \npick 2 1\nselect A.B C.D\n"
                              "click 150 | Title | Tab | P1, P2 | r0, 7, 2.5\nclick 7\n");
    ASSERT_EQ(script.size(), 5u);
    EXPECT_EQ(script[0].text, "heavy water");
    EXPECT_EQ(script[0].line, 3);
    EXPECT_EQ(script[1].arguments, (std::vector<std::string>{"2", "1"}));
    EXPECT_EQ(script[2].arguments, (std::vector<std::string>{"A.B", "C.D"}));
    EXPECT_EQ(script[3].code, 150);
    EXPECT_EQ(script[3].text, "Title");
    EXPECT_EQ(script[3].tabName, "Tab");
    EXPECT_EQ(script[3].propNames, (std::vector<std::optional<std::string>>{"P1", "P2"}));
    EXPECT_EQ(script[3].values, (std::vector<DialogValue>{std::string("r0"), std::int32_t{7}, 2.5}));
    EXPECT_TRUE(script[4].propNames.empty());
}

TEST(DialogScript, ValuesAreWholeNumbersNumbersOrTexts)
{
    EXPECT_EQ(ParseDialogValue("-3"), DialogValue(std::int32_t{-3}));
    EXPECT_EQ(ParseDialogValue("1e3"), DialogValue(1000.0));
    EXPECT_EQ(ParseDialogValue("99999999999"), DialogValue(99999999999.0)); // beyond int32: a number
    EXPECT_EQ(ParseDialogValue("2.5x"), DialogValue(std::string("2.5x")));
    EXPECT_EQ(ParseDialogValue(""), DialogValue(std::string()));
}

TEST(DialogScript, AStepItCannotReadIsRefusedWithItsLine)
{
    for (const char* text : {"jump", "pick", "pick 0", "pick x", "add 1", "click", "click x", "resize 1", "resize a b",
                             "click 1 | a | b | c | d | e", "type", "key", "key jump", "key ctrl+",
                             "key shift+ctrl+tab", "shot", "shot ../escape", "shot a b"}) {
        try {
            Parse(std::string("search x\n") + text + "\n");
            ADD_FAILURE() << text << " was accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()).rfind("line 2: ", 0), 0u) << error.what();
        }
    }
}

TEST(DialogScript, KeysTypingAndPicturesForRealWindows)
{
    const auto script = Parse("type heavy water\nkey tab shift+tab ctrl+space ctrl+shift+end\nshot find-results\n");
    ASSERT_EQ(script.size(), 3u);
    EXPECT_EQ(script[0].text, "heavy water");
    EXPECT_EQ(script[1].arguments, (std::vector<std::string>{"tab", "shift+tab", "ctrl+space", "ctrl+shift+end"}));
    EXPECT_EQ(script[2].text, "find-results");
}
