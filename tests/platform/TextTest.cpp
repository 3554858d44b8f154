#include "platform/Text.h"

#include <gtest/gtest.h>

using namespace moru::platform;

TEST(InvariantCase, MapsLettersBeyondAscii)
{
    EXPECT_EQ(ToLowerInvariant("WATER"), "water");
    EXPECT_EQ(ToLowerInvariant("\xC3\x89THANOL"), "\xC3\xA9thanol"); // ÉTHANOL
    EXPECT_EQ(ToUpperInvariant("\xC3\xA9thanol"), "\xC3\x89THANOL");
    EXPECT_TRUE(EqualsIgnoringCase("Dipl", "dIPL"));
    EXPECT_TRUE(EqualsIgnoringCase("\xCE\x91", "\xCE\xB1")); // Greek alpha
    EXPECT_FALSE(EqualsIgnoringCase("abc", "abd"));
}

TEST(InvariantCase, KeepsMalformedBytes)
{
    const std::string malformed = "A\xFF\xC3";
    EXPECT_EQ(ToLowerInvariant(malformed), "a\xFF\xC3");
}

TEST(Blank, WhiteSpaceOnly)
{
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t "));
    EXPECT_FALSE(IsBlank(" x "));
}
