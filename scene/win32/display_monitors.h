// The monitors Windows shows the saver on, through the calls that Windows 98 and 2000 brought
// (EnumDisplayMonitors, MonitorFromWindow, GetMonitorInfoA), bound at run time so that the program
// still starts on Windows 95 and NT 4, where it sees one display. Win32 only.
#pragma once
#ifndef _WIN32
#error "display_monitors.h belongs to the Win32 scene"
#endif

#include <windows.h>

#include "scene/view_layout.h"  // PixelRect

// Each monitor's rectangle in the pixels of a window that lies over the whole virtual screen,
// from its top left corner; the count, or 0 where the system cannot list its monitors.
int findScreenMonitors(PixelRect* monitors, int most);

// The device name of the monitor that shows most of the window into device (CCHDEVICENAME bytes);
// false where the system cannot tell (one display: the caller names none).
bool windowMonitorDevice(HWND window, char* device);
