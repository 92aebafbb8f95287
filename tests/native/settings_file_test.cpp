#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <string>

// The whole literal, NUL bytes included.
template <size_t N>
static std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

static SaverSettings read(const std::string& text) {
    return settingsFromText(text.data(), text.size());
}

static void expectSettings(int32_t notes, int32_t angle, int32_t currency, const SaverSettings& s) {
    EXPECT_EQ(notes, s.noteCount);
    EXPECT_EQ(angle, s.viewAngle);
    EXPECT_EQ(currency, s.currencyType);
}

TEST(SettingsFile, ReadsTheRegistryNamesAndDefaultsTheRest) {
    expectSettings(200, 3, 0, read(""));
    expectSettings(200, 2, 0, read("View Angle=2\n"));
    expectSettings(750, 1, 2, read("number of notes = 750\r\nView Angle=1\nType of Currency=2"));
    // Kept as stored, as the registry's values are: the scene decides what an odd value means.
    expectSettings(-4, 9, 7, read("Number of Notes=-4\nView Angle=9\nType of Currency=7\n"));
}

TEST(SettingsFile, TheLastLineNamingASettingDecides) {
    expectSettings(300, 3, 0, read("Number of Notes=100\nNumber of Notes=300\n"));
    expectSettings(200, 3, 0, read("Number of Notes=100\nNumber of Notes=lots\n"));
}

TEST(SettingsFile, HostileTextGivesDefaults) {
    expectSettings(200, 3, 0, read("Number of Notes=2147483648\nView Angle=-2147483649\n"));
    expectSettings(200, 3, 0, read("Number of Notes=99999999999999999999999\n"));
    expectSettings(-2147483647 - 1, 3, 0, read("Number of Notes=-2147483648\n"));
    expectSettings(200, 3, 0, read("Number of Notes=\nView Angle=+\nType of Currency=1 2\n"));
    expectSettings(200, 3, 0, read("Number of Notes"));
    expectSettings(200, 3, 0, read(bytes("Number of\0 Notes=5\nView Angle=\xff\x01\n=\n\n\xfe=3")));
    // A NUL inside the text does not end it.
    expectSettings(200, 3, 1, read(bytes("junk\0\nType of Currency=1\n")));
}

TEST(SettingsFile, WritingKeepsEveryOtherLineByteForByte) {
    const SaverSettings chosen = {600, 1, 2};
    const std::string after = settingsTextWith(
        bytes("# mine\r\nView Angle=3\r\nunrelated = 7\nNumber of Notes=9\nView Angle=0\n\xff\0z"),
        chosen);
    EXPECT_EQ(bytes("# mine\r\nView Angle=1\r\nunrelated = 7\nNumber of Notes=600\n\xff\0z\n"
                    "Type of Currency=2\n"),
              after);
    expectSettings(600, 1, 2, read(after));
    EXPECT_EQ("Number of Notes=200\nView Angle=3\nType of Currency=0\n",
              settingsTextWith("", SaverSettings{200, 3, 0}));
}

TEST(SettingsFile, OverridesReplaceOnlyWhatWasGiven) {
    SaverSettings settings = {200, 3, 0};
    applySettingOverrides(SettingOverrides{false, true, true, SaverSettings{75, 1, 2}}, settings);
    expectSettings(200, 1, 2, settings);
}
