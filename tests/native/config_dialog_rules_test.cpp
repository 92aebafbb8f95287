#include "settings/config_dialog_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

struct Template {
    int widthUnits = 0, heightUnits = 0;
    std::vector<DialogControl> controls;  // every one but the face picture, in template order
};

// Template 2003 as resources/skyfold.rc lays it out for Windows.
static Template readTemplate() {
    static const std::regex dialog(R"(^kConfigDialogId DIALOG \d+, \d+, (\d+), (\d+))");
    // A control line: its text, its id, its class and styles, its rectangle, a closing style.
    static const std::regex control(R"(^\s*(?:CONTROL|DEFPUSHBUTTON|PUSHBUTTON) "[^"]*", (\w+),)"
                                    R"(.*?(\d+), (\d+), (\d+), (\d+)(, [A-Z_]+)?$)");
    std::ifstream script(SKYFOLD_SOURCE_DIR "/resources/skyfold.rc");
    Template found;
    bool inside = false;
    std::smatch match;
    for (std::string line; std::getline(script, line) && !(inside && line == "END");) {
        if (std::regex_search(line, match, dialog)) {
            found.widthUnits = std::stoi(match[1]);
            found.heightUnits = std::stoi(match[2]);
            inside = true;
        } else if (inside && std::regex_search(line, match, control)) {
            const std::string id = match[1];
            found.controls.push_back({id == "IDOK" ? 1 : id == "IDCANCEL" ? 2 : std::stoi(id),
                                      std::stoi(match[2]), std::stoi(match[3]),
                                      std::stoi(match[4]), std::stoi(match[5])});
        }
    }
    return found;
}

// The X11 dialog places its controls from this table: it must stay the Windows template.
TEST(ConfigDialogRules, TheControlsAreThoseOfTheWindowsTemplate) {
    const Template windows = readTemplate();
    EXPECT_EQ(kDialogWidthUnits, windows.widthUnits);
    EXPECT_EQ(kDialogHeightUnits, windows.heightUnits);
    ASSERT_EQ(static_cast<size_t>(kDialogControlCount), windows.controls.size());
    for (int i = 0; i < kDialogControlCount; ++i) {
        const DialogControl& ours = kDialogControls[i];
        const DialogControl& theirs = windows.controls[i];
        EXPECT_EQ(theirs.id, ours.id);
        EXPECT_EQ(theirs.x, ours.x) << ours.id;
        EXPECT_EQ(theirs.y, ours.y) << ours.id;
        EXPECT_EQ(theirs.width, ours.width) << ours.id;
        EXPECT_EQ(theirs.height, ours.height) << ours.id;
    }
}

// Each edge lands on the pixel nearest to where the face paints it: 1.5 pixels a unit across,
// 298/183 down.
TEST(ConfigDialogRules, ControlsLandOnTheFaceAtItsPaintedScale) {
    for (int i = 0; i < kDialogControlCount; ++i) {
        const DialogControl& c = kDialogControls[i];
        const FaceBox box = faceBoxOf(c);
        EXPECT_NEAR(c.x * 1.5, box.left, 0.5) << c.id;
        EXPECT_NEAR((c.x + c.width) * 1.5, box.left + box.width, 0.5) << c.id;
        EXPECT_NEAR(c.y * 298.0 / 183, box.top, 0.5) << c.id;
        EXPECT_NEAR((c.y + c.height) * 298.0 / 183, box.top + box.height, 0.5) << c.id;
    }
    // OK and Cancel touch in the template, and so on the face.
    const FaceBox ok = faceBoxOf(kDialogControls[0]), cancel = faceBoxOf(kDialogControls[1]);
    EXPECT_EQ(ok.top + ok.height, cancel.top);
}

TEST(ConfigDialogRules, AStoredValueChecksItsButtonOrNone) {
    EXPECT_EQ(1000, currencyButtonOf(AustralianDollars));
    EXPECT_EQ(1002, currencyButtonOf(Euros));
    EXPECT_EQ(1003, viewAngleButtonOf(BottomUp));
    EXPECT_EQ(1006, viewAngleButtonOf(Random));
    for (int32_t odd : {-1, 3, -2147483647 - 1}) EXPECT_EQ(kNoButton, currencyButtonOf(odd)) << odd;
    for (int32_t odd : {-1, 4, 2147483647}) EXPECT_EQ(kNoButton, viewAngleButtonOf(odd)) << odd;
}

TEST(ConfigDialogRules, ARadioButtonSetsOnlyItsSettingAndOkAndCancelClose) {
    SaverSettings settings = {4000, 7, -1};
    EXPECT_EQ(DialogOutcome::KeepOpen, applyDialogCommand(1002, settings));
    EXPECT_EQ(Euros, settings.currencyType);
    EXPECT_EQ(DialogOutcome::KeepOpen, applyDialogCommand(1004, settings));
    EXPECT_EQ(FrontOn, settings.viewAngle);
    for (int other : {999, 1007, 0, -1}) {
        EXPECT_EQ(DialogOutcome::KeepOpen, applyDialogCommand(other, settings)) << other;
    }
    EXPECT_EQ(DialogOutcome::SaveAndClose, applyDialogCommand(kOkButton, settings));
    EXPECT_EQ(DialogOutcome::Close, applyDialogCommand(kCancelButton, settings));
    EXPECT_EQ(4000, settings.noteCount);
    EXPECT_EQ(FrontOn, settings.viewAngle);
    EXPECT_EQ(Euros, settings.currencyType);
}
