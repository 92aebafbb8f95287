// What the frame pacing reads from Windows: the refresh rate of the monitor a window is on and
// whether the machine runs on battery. Win32 only.
#pragma once
#ifndef _WIN32
#error "pacing_sources.h belongs to the Win32 scene"
#endif

#include <windows.h>

// Hertz of the monitor that shows most of the window; 0 when Windows gives only "the hardware's
// default".
double displayRefreshHertz(HWND window);

// True when the system says it runs on battery; false on mains or when it cannot tell.
bool machineOnBattery();
