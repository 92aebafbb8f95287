// The settings dialog's controls and click rules, shared by the Windows dialog, the Linux one
// (GTK, on X11 and Wayland) and the page's. The rectangles are template 2003's
// (resources/skyfold.rc), which a unit test keeps them equal to.
#include "settings/config_dialog_rules.h"

const DialogControl kDialogControls[] = {
    {kOkButton, 267, 103, 50, 14},
    {kCancelButton, 267, 117, 50, 14},
    {kFirstCurrencyButton, 227, 15, 10, 8},
    {kFirstCurrencyButton + 1, 227, 26, 10, 8},
    {kFirstCurrencyButton + 2, 227, 37, 10, 8},
    {kNoteCountSlider, 11, 110, 244, 11},
    {kFirstViewAngleButton, 227, 51, 10, 8},
    {kFirstViewAngleButton + 1, 227, 62, 10, 8},
    {kFirstViewAngleButton + 2, 227, 72, 10, 8},
    {kFirstViewAngleButton + 3, 227, 82, 10, 8},
};
const int kDialogControlCount = sizeof kDialogControls / sizeof kDialogControls[0];

// Units to pixels, rounded half up; every value is small and non-negative.
static int toPixels(int units, int pixelsPerFace, int unitsPerFace) {
    return (units * pixelsPerFace * 2 + unitsPerFace) / (unitsPerFace * 2);
}

FaceBox faceBoxOf(const DialogControl& control) {
    const int left = toPixels(control.x, kDialogWidthPixels, kDialogWidthUnits);
    const int top = toPixels(control.y, kDialogHeightPixels, kDialogHeightUnits);
    const int right = toPixels(control.x + control.width, kDialogWidthPixels, kDialogWidthUnits);
    const int bottom =
        toPixels(control.y + control.height, kDialogHeightPixels, kDialogHeightUnits);
    return {left, top, right - left, bottom - top};
}

static int groupButtonOf(int firstButton, int buttons, int32_t value) {
    return value >= 0 && value < buttons ? firstButton + value : kNoButton;
}

int currencyButtonOf(int32_t currencyType) {
    return groupButtonOf(kFirstCurrencyButton, kCurrencyButtons, currencyType);
}

int viewAngleButtonOf(int32_t viewAngle) {
    return groupButtonOf(kFirstViewAngleButton, kViewAngleButtons, viewAngle);
}

DialogOutcome applyDialogCommand(int id, SaverSettings& settings) {
    if (id == kOkButton) return DialogOutcome::SaveAndClose;
    if (id == kCancelButton) return DialogOutcome::Close;
    if (id >= kFirstCurrencyButton && id < kFirstCurrencyButton + kCurrencyButtons) {
        settings.currencyType = id - kFirstCurrencyButton;
    } else if (id >= kFirstViewAngleButton && id < kFirstViewAngleButton + kViewAngleButtons) {
        settings.viewAngle = id - kFirstViewAngleButton;
    }
    return DialogOutcome::KeepOpen;
}
