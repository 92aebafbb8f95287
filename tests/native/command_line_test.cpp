#include "host/command_line.h"

#include <gtest/gtest.h>

#include <string>

static const char* stepOneByte(const char* text) {
    return *text ? text + 1 : text;
}

// A double-byte code page's stepper: a lead byte (0x81 to 0x9F here) takes its trail byte along.
static const char* stepDoubleByte(const char* text) {
    const unsigned char lead = static_cast<unsigned char>(*text);
    if (lead >= 0x81 && lead <= 0x9F && text[1] != '\0') return text + 2;
    return *text ? text + 1 : text;
}

static std::string switchOf(const char* commandLine) {
    return findSwitchText(commandLine, stepOneByte);
}

TEST(SwitchText, FollowsTheProgramName) {
    EXPECT_EQ("/s", switchOf("skyfold.scr /s"));
    EXPECT_EQ("/s", switchOf("C:\\WINDOWS\\SKYFOLD.SCR   /s"));
    EXPECT_EQ("/p 123", switchOf("\"C:\\Program Files\\skyfold.scr\" /p 123"));
    EXPECT_EQ("/s", switchOf("\"C:\\Program Files\\skyfold.scr\"/s"));  // right after the quote
    EXPECT_EQ("-s", switchOf("skyfold.scr\t\r\n\x01 -s"));  // control characters are skipped
    EXPECT_EQ("", switchOf("skyfold.scr"));
    EXPECT_EQ("", switchOf("skyfold.scr    "));
    EXPECT_EQ("", switchOf(""));
}

TEST(SwitchText, TreatsHighBytesAsPartOfTheNameAndHandlesUnclosedQuotes) {
    EXPECT_EQ("/s", switchOf("sky\xE9\xFF" "fold.scr /s"));
    EXPECT_EQ("", switchOf("\"C:\\no closing quote /s"));
    EXPECT_EQ("s", switchOf("\"\"s"));
}

TEST(SwitchText, StepsOverDoubleByteCharactersWhole) {
    // The trail byte 0x22 of a double-byte character is not a closing quote.
    const char commandLine[] = "\"C:\\\x8A\x22name.scr\" /s";
    EXPECT_STREQ("/s", findSwitchText(commandLine, stepDoubleByte));
    EXPECT_STRNE("/s", findSwitchText(commandLine, stepOneByte));
}

TEST(SwitchScan, PicksTheModeFromTheFirstSignificantLetter) {
    struct Case { const char* text; RunMode mode; };
    const Case cases[] = {
        {"", RunMode::Configure},       {"   ", RunMode::Configure},
        {"s", RunMode::FullScreen},     {"/s", RunMode::FullScreen},
        {"-s", RunMode::FullScreen},    {"S", RunMode::FullScreen},
        {"//--/ -S", RunMode::FullScreen}, {"/s and more words", RunMode::FullScreen},
        {"c", RunMode::Configure},      {"/C:12", RunMode::Configure},
        {"p 1", RunMode::Preview},      {"/l 1", RunMode::Preview},
        {"L1", RunMode::Preview},       {"/a 5", RunMode::ChangePassword},
        {"x", RunMode::Rejected},       {"?", RunMode::Rejected},
        {"5", RunMode::Rejected},       {"/\ts", RunMode::Rejected},
        {"\x01s", RunMode::Rejected},   {"\xE9", RunMode::Rejected},
        {"/\x80s", RunMode::Rejected},
    };
    for (const Case& c : cases) EXPECT_EQ(c.mode, scanSwitchText(c.text).mode) << '"' << c.text << '"';
}

TEST(SwitchScan, ReadsHandlesWhereEachModeExpectsThem) {
    EXPECT_EQ(65578u, scanSwitchText("/p 65578").handle);
    EXPECT_EQ(65578u, scanSwitchText("/p65578").handle);
    EXPECT_EQ(65578u, scanSwitchText("/p    65578 trailing").handle);
    EXPECT_EQ(0u, scanSwitchText("/p").handle);
    EXPECT_EQ(0u, scanSwitchText("/p:65578").handle);      // a colon is no digit
    EXPECT_EQ(0u, scanSwitchText("/p\t65578").handle);     // only 0x20 is skipped
    EXPECT_EQ(42u, scanSwitchText("a 42").handle);
    EXPECT_EQ(42u, scanSwitchText("c:42").handle);
    EXPECT_EQ(0u, scanSwitchText("c 42").handle);          // only a colon introduces the owner
    EXPECT_EQ(0u, scanSwitchText("c42").handle);
    EXPECT_EQ(0u, scanSwitchText("c:").handle);
}

TEST(SwitchScan, OnlyConfigureAndChangePasswordFallBackToTheForegroundOwner) {
    EXPECT_FALSE(scanSwitchText("").namesOwner);   // no switch: the dialog has no owner at all
    EXPECT_TRUE(scanSwitchText("c").namesOwner);
    EXPECT_TRUE(scanSwitchText("/c:7").namesOwner);
    EXPECT_TRUE(scanSwitchText("a").namesOwner);
    EXPECT_FALSE(scanSwitchText("p 7").namesOwner);
}

TEST(WindowHandle, ParsesUnsignedDecimalAndWrapsModulo2To32) {
    EXPECT_EQ(0u, parseWindowHandle(""));
    EXPECT_EQ(0u, parseWindowHandle("-5"));
    EXPECT_EQ(0u, parseWindowHandle(" 5"));
    EXPECT_EQ(0u, parseWindowHandle("0x1F"));
    EXPECT_EQ(123u, parseWindowHandle("0123abc"));
    EXPECT_EQ(4294967295u, parseWindowHandle("4294967295"));
    EXPECT_EQ(0u, parseWindowHandle("4294967296"));
    EXPECT_EQ(65578u, parseWindowHandle("4295032874"));     // 2^32 + 65578
    EXPECT_EQ(65578u, parseWindowHandle("000000000000065578"));
    // 10^20 mod 2^32 = 1661992960
    EXPECT_EQ(1661992960u, parseWindowHandle("100000000000000000000"));
}
