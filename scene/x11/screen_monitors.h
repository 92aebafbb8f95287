// The monitors of an X11 screen, as a window over the whole screen sees them: RandR 1.5's monitors
// (which follow what the desktop set, xrandr --setmonitor included), else Xinerama's heads. X11
// only.
#pragma once
#ifdef _WIN32
#error "scene/x11/screen_monitors.h belongs to the X11 scene"
#endif

#include <X11/Xlib.h>

#include "scene/view_layout.h"  // PixelRect

// Each active monitor's rectangle in the screen's pixels from its top left corner; the count, or 0
// where the server offers neither extension (the caller then shows the whole screen).
int findScreenMonitors(Display* display, int screen, PixelRect* monitors, int most);
