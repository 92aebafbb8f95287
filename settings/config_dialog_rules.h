// What the settings dialog is on every platform: its controls (the ids of template 2003) and their
// places on the 495x298 face, which radio button a stored value checks, and what a click on each
// control does. Windows lays the controls out from the template; other platforms place them here.
#pragma once

#include <cstdint>

#include "settings/saver_settings.h"

const int kDialogWidthPixels = 495;  // the face picture's size, and so the window's
const int kDialogHeightPixels = 298;
const int kDialogWidthUnits = 330;   // the template's size in dialog units, painted as the face
const int kDialogHeightUnits = 183;
const int kCornerEllipsePixels = 90;  // width and height of the ellipse that rounds each corner

const int kOkButton = 1;  // IDOK and IDCANCEL
const int kCancelButton = 2;
const int kFirstCurrencyButton = 1000;   // 1000 to 1002: Australian, American, Euros
const int kFirstViewAngleButton = 1003;  // 1003 to 1006: bottom up, front on, top down, random
const int kCurrencyButtons = 3;
const int kViewAngleButtons = 4;
const int kNoteCountSlider = 1007;
const int kNoButton = -1;

struct DialogControl {
    int id;
    int x, y, width, height;  // dialog units, as in the template
};

// Every control but the face, in template order.
extern const DialogControl kDialogControls[];
extern const int kDialogControlCount;

struct FaceBox {
    int left, top, width, height;  // pixels of the face
};

// The control's rectangle on the face: 1.5 pixels a unit across and 298/183 down, the scale the
// face is painted for, rounded to the nearest pixel edge.
FaceBox faceBoxOf(const DialogControl& control);

// The button a stored currency or view angle checks, or kNoButton for a value outside its group.
int currencyButtonOf(int32_t currencyType);
int viewAngleButtonOf(int32_t viewAngle);

enum class DialogOutcome { KeepOpen, SaveAndClose, Close };

// A click on the control with this id: a radio button sets its setting at once, OK saves and
// closes, Cancel closes; any other id does nothing.
DialogOutcome applyDialogCommand(int id, SaverSettings& settings);
