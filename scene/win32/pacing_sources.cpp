// Reading the display's refresh rate (the current mode of the window's monitor, or of the one
// display where Windows knows no monitors) and the power state from Windows.
#include "scene/win32/pacing_sources.h"

#include "scene/win32/display_monitors.h"

// NOTE: EnumDisplaySettings reports 0 or 1 for "the hardware's default rate", which says nothing.
static const DWORD kHighestUnknownFrequency = 1;
static const BYTE kAcOffline = 0;

double displayRefreshHertz(HWND window) {
    char monitor[CCHDEVICENAME];
    const char* device = windowMonitorDevice(window, monitor) ? monitor : NULL;
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(device, ENUM_CURRENT_SETTINGS, &mode)) return 0.0;
    if (mode.dmDisplayFrequency <= kHighestUnknownFrequency) return 0.0;
    return static_cast<double>(mode.dmDisplayFrequency);
}

bool machineOnBattery() {
    SYSTEM_POWER_STATUS status;
    if (!GetSystemPowerStatus(&status)) return false;
    return status.ACLineStatus == kAcOffline;  // 255, unknown, counts as mains
}
