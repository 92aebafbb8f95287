// The skinned configuration dialog (template 2003): a borderless 495x298 window with rounded
// corners over a painted background, three currency and four view-angle buttons and the
// note-count slider. It edits the settings record directly; OK saves it, Cancel does not.
#include "settings/win32/config_dialog.h"

#include "settings/config_dialog_rules.h"
#include "settings/note_count_scroll.h"
#include "settings/saver_settings.h"

static const INT_PTR kDialogResult = 1;  // both OK and Cancel end the dialog with 1

static void checkButton(HWND dialog, int button) {
    if (button != kNoButton) CheckDlgButton(dialog, button, BST_CHECKED);
}

static const int kBackgroundId = 0xFFFF;  // the face picture, shown at its own size

// Rounds the corners of the 495x298 face.
static void roundCorners(HWND dialog) {
    const HRGN region = CreateRoundRectRgn(0, 0, kDialogWidthPixels + 1, kDialogHeightPixels,
                                           kCornerEllipsePixels, kCornerEllipsePixels);
    if (region) SetWindowRgn(dialog, region, TRUE);
}

struct LayoutScale {
    double x, y;  // face pixels per pixel of the template's own layout
};

static BOOL CALLBACK placeOnFace(HWND control, LPARAM parameter) {
    if (GetDlgCtrlID(control) == kBackgroundId) return TRUE;
    const LayoutScale* scale = reinterpret_cast<const LayoutScale*>(parameter);
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(NULL, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
    const int left = static_cast<int>(box.left * scale->x + 0.5);
    const int top = static_cast<int>(box.top * scale->y + 0.5);
    MoveWindow(control, left, top, static_cast<int>(box.right * scale->x + 0.5) - left,
               static_cast<int>(box.bottom * scale->y + 0.5) - top, FALSE);
    return TRUE;
}

// NOTE: the face is a picture of fixed pixels, painted for the template laid out with the
// classic 6 x 13 dialog base units. Where the dialog font measures otherwise (large fonts,
// another DPI, a substitute font), the controls are moved back onto their painted labels.
static void fitControlsToFace(HWND dialog, int templateWidth, int templateHeight) {
    if (templateWidth == kDialogWidthPixels && templateHeight == kDialogHeightPixels) return;
    if (templateWidth <= 0 || templateHeight <= 0) return;
    const LayoutScale scale = {static_cast<double>(kDialogWidthPixels) / templateWidth,
                               static_cast<double>(kDialogHeightPixels) / templateHeight};
    EnumChildWindows(dialog, placeOnFace, reinterpret_cast<LPARAM>(&scale));
}

static INT_PTR onInitDialog(HWND dialog, WPARAM, LPARAM) {
    RECT frame;
    GetWindowRect(dialog, &frame);
    MoveWindow(dialog, frame.left, frame.top, kDialogWidthPixels, kDialogHeightPixels, FALSE);
    fitControlsToFace(dialog, frame.right - frame.left, frame.bottom - frame.top);
    roundCorners(dialog);
    loadSettings();
    const HWND slider = GetDlgItem(dialog, kNoteCountSlider);
    SetScrollRange(slider, SB_CTL, kFewestNotes, kMostNotes, FALSE);
    SetScrollPos(slider, SB_CTL, saverSettings.noteCount, TRUE);
    checkButton(dialog, currencyButtonOf(saverSettings.currencyType));
    checkButton(dialog, viewAngleButtonOf(saverSettings.viewAngle));
    return TRUE;
}

static INT_PTR onCommand(HWND dialog, WPARAM wParam, LPARAM) {
    const DialogOutcome outcome = applyDialogCommand(LOWORD(wParam), saverSettings);
    if (outcome == DialogOutcome::SaveAndClose) saveSettings();
    if (outcome != DialogOutcome::KeepOpen) EndDialog(dialog, kDialogResult);
    return TRUE;
}

static INT_PTR onHorizontalScroll(HWND, WPARAM wParam, LPARAM lParam) {
    const HWND slider = reinterpret_cast<HWND>(lParam);
    if (!slider || GetDlgCtrlID(slider) != kNoteCountSlider) return FALSE;
    const ScrollOutcome outcome =
        handleNoteCountScroll(saverSettings.noteCount, kFewestNotes, kMostNotes, LOWORD(wParam),
                              HIWORD(wParam));
    saverSettings.noteCount = outcome.value;
    if (outcome.reposition) SetScrollPos(slider, SB_CTL, outcome.value, TRUE);
    return TRUE;
}

// The whole background drags the window, as a caption would.
static INT_PTR onLeftButtonDown(HWND dialog, WPARAM, LPARAM lParam) {
    PostMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
    return FALSE;
}

typedef INT_PTR (*DialogHandler)(HWND dialog, WPARAM wParam, LPARAM lParam);

struct DialogRoute {
    UINT message;
    DialogHandler handler;
};

static const DialogRoute kDialogRoutes[] = {
    {WM_INITDIALOG, onInitDialog},
    {WM_COMMAND, onCommand},
    {WM_HSCROLL, onHorizontalScroll},
    {WM_LBUTTONDOWN, onLeftButtonDown},
};

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const DialogRoute& route : kDialogRoutes) {
        if (route.message == message) return route.handler(dialog, wParam, lParam);
    }
    return FALSE;
}
