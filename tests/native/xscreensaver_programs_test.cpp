#include "host/xscreensaver_programs.h"

#include <gtest/gtest.h>

#include <string>

struct Edit {
    ProgramsEdit outcome;
    std::string text;
    std::string reason;
};

static Edit add(const std::string& text) {
    Edit edit;
    char reason[kEditReasonBytes];
    edit.outcome = addSkyfoldProgram(text, &edit.text, reason);
    edit.reason = reason;
    return edit;
}

static const std::string kEntryLine = "  GL: \t\t\t\tskyfold --root";
static const std::string kPadding = "\t\t\t    ";

// As xscreensaver-settings 6.06 writes the file: the list's last line continues into a blank one.
static const std::string kSettingsHead =
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:11:00\n"
    "mode:\t\tone\n"
    "\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "-  GL: \t\t\t\tgears --root\t\t\t    \\n\\\n";
static const std::string kSettingsTail = "\n\npointerHysteresis:  10\n";

TEST(XscreensaverPrograms, AddsTheEntryAfterTheLastProgramKeepingEveryOtherByte) {
    const Edit settings = add(kSettingsHead + kSettingsTail);
    ASSERT_EQ(ProgramsEdit::Added, settings.outcome) << settings.reason;
    EXPECT_EQ(kSettingsHead + kEntryLine + kPadding + "\\n\\\n" + kSettingsTail, settings.text);
    // The system list's layout: the last line ends the list without a continuation.
    EXPECT_EQ("*programs: \\\n  GL: gears --root \\n\\\n" + kEntryLine + kPadding +
                  "\\n\n! end\n",
              add("*programs: \\\n  GL: gears --root \\n\n! end\n").text);
    // One line, no "\n" after its entry: it gets one, the new last entry has none either.
    EXPECT_EQ("programs: qix --root \\n\\\n" + kEntryLine, add("programs: qix --root").text);
    EXPECT_EQ("programs:\\\n" + kEntryLine + kPadding + "\\n \r\nlock: False\n",
              add("programs: \r\nlock: False\n").text);
}

TEST(XscreensaverPrograms, AppendsAProgramsListWhereThereIsNone) {
    const std::string list = "programs:\t\\\n" + kEntryLine + kPadding + "\\n\n";
    EXPECT_EQ(list, add("").text);
    EXPECT_EQ("lock: False\n# programs: were here\n" + list,
              add("lock: False\n# programs: were here").text);
}

TEST(XscreensaverPrograms, FindsSkyfoldHoweverItIsListed) {
    const char* const listed[] = {
        "programs: GL: skyfold --root --count 75 --currency euro\n",
        "programs: maze --root \\n\\\n-\t\t\t\tskyfold --root\n",  // disabled: the user's choice
        "programs: -skyfold --root\n",
        "programs: GL:skyfold --root\n",
        "XScreenSaver.programs: /usr/libexec/xscreensaver/skyfold --root\n",
        "programs: qix --root \\n GL: apitrace trace -o t.trace skyfold --root \\n\n",
        "# a comment's last '\\' continues nothing \\\nPrograms: GL: skyfold --root\n",
        "programs: GL: gears --root\nprograms: GL: skyfold --root\n",
    };
    for (const char* text : listed) {
        EXPECT_EQ(ProgramsEdit::AlreadyListed, add(text).outcome) << text;
    }
    const Edit twice = add(add(kSettingsHead + kSettingsTail).text);
    EXPECT_EQ(ProgramsEdit::AlreadyListed, twice.outcome);

    const char* const others[] = {
        "programs: \"skyfold\" gears --root\n",
        "programs: GL: skyfolder --root \\n skyfold.sh\n",
        "programs: GL: skyfold --root\nprograms: GL: gears --root\n",  // the last one counts
    };
    for (const char* text : others) EXPECT_EQ(ProgramsEdit::Added, add(text).outcome) << text;
    EXPECT_EQ("programs: a\nprograms: b \\n\\\n" + kEntryLine + "\n",
              add("programs: a\nprograms: b\n").text);
}

TEST(XscreensaverPrograms, RefusesTextThatIsNotASettingsFile) {
    const Edit junk = add("lock: False\nprograms: \\\n a \\n\\\n b\nthis is not a setting\n");
    EXPECT_EQ(ProgramsEdit::Refused, junk.outcome);
    EXPECT_EQ("line 5 is not \"name: value\"", junk.reason);
    EXPECT_EQ("line 2 is continued ('\\' at its end) past the end of the file",
              add("lock: False\nprograms: a \\n\\\n").reason);
    EXPECT_EQ(ProgramsEdit::Refused, add("programs: a \\n\\").outcome);
    EXPECT_EQ(ProgramsEdit::Refused, add(std::string("programs: a\n\0\n", 14)).outcome);
    EXPECT_EQ(ProgramsEdit::Refused, add(": no name\n").outcome);
    EXPECT_EQ(ProgramsEdit::Refused,
              add(std::string(kMaxXscreensaverFileBytes + 1, '#')).outcome);
}
