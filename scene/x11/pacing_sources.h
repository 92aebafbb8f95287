// What the frame pacing reads from an X11 display: the refresh rate of the monitor a window is on
// (XRandR). X11 only; the power state and the CPU clock are Linux's (scene/unix/).
#pragma once
#ifdef _WIN32
#error "scene/x11/pacing_sources.h belongs to the X11 scene"
#endif

#include <X11/Xlib.h>

// Hertz of the monitor under the window's centre (or of the screen); 0 when it cannot be learned.
double displayRefreshHertz(Display* display, Window window);
