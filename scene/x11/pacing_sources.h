// What the frame pacing and the frame-rate display read from a Linux machine running X11: the
// refresh rate of the display a window is on (XRandR), whether the machine runs on battery
// (/sys/class/power_supply), and the process's CPU time. X11 only.
#pragma once
#ifdef _WIN32
#error "scene/x11/pacing_sources.h belongs to the X11 scene"
#endif

#include <X11/Xlib.h>

// Hertz of the monitor under the window's centre (or of the screen); 0 when it cannot be learned.
double displayRefreshHertz(Display* display, Window window);

// True on battery; false on mains, and whenever the supplies cannot be read.
bool machineOnBattery();

// Seconds of CPU time the process has used, all its threads together.
double processCpuSeconds();
