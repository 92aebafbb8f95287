// Listing the monitors through user32's entries, looked up by name. The virtual screen's origin is
// the top left corner of the leftmost and topmost monitor, negative where one lies left of or above
// the primary one; the saver window starts there.
#include "scene/win32/display_monitors.h"

#include <cstring>

typedef BOOL(WINAPI* EnumDisplayMonitorsFn)(HDC dc, LPCRECT clip, MONITORENUMPROC visit,
                                            LPARAM data);
typedef HMONITOR(WINAPI* MonitorFromWindowFn)(HWND window, DWORD flags);
typedef BOOL(WINAPI* GetMonitorInfoFn)(HMONITOR monitor, LPMONITORINFO info);

struct MonitorList {
    PixelRect* monitors;
    int most;
    int count;
    POINT origin;  // the virtual screen's top left corner, in screen pixels
};

// user32's named entry as a typed function pointer, or null where this Windows lacks it.
template <typename Function>
static Function user32Entry(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return NULL;
    // Through a generic function pointer: the one cast between function types both compilers
    // accept.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(user32, name)));
}

static BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT bounds, LPARAM data) {
    MonitorList* list = reinterpret_cast<MonitorList*>(data);
    if (list->count == list->most) return FALSE;
    list->monitors[list->count++] = PixelRect{
        static_cast<int32_t>(bounds->left - list->origin.x),
        static_cast<int32_t>(bounds->top - list->origin.y),
        static_cast<int32_t>(bounds->right - bounds->left),
        static_cast<int32_t>(bounds->bottom - bounds->top)};
    return TRUE;
}

int findScreenMonitors(PixelRect* monitors, int most) {
    const EnumDisplayMonitorsFn enumerate =
        user32Entry<EnumDisplayMonitorsFn>("EnumDisplayMonitors");
    if (!enumerate) return 0;
    MonitorList list = {monitors, most, 0,
                        {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)}};
    enumerate(NULL, NULL, addMonitor, reinterpret_cast<LPARAM>(&list));
    return list.count;
}

bool windowMonitorDevice(HWND window, char* device) {
    const MonitorFromWindowFn monitorOf = user32Entry<MonitorFromWindowFn>("MonitorFromWindow");
    const GetMonitorInfoFn describe = user32Entry<GetMonitorInfoFn>("GetMonitorInfoA");
    if (!monitorOf || !describe) return false;
    MONITORINFOEXA monitor;
    ZeroMemory(&monitor, sizeof monitor);
    monitor.cbSize = sizeof monitor;
    const HMONITOR handle = monitorOf(window, MONITOR_DEFAULTTOPRIMARY);
    if (!describe(handle, &monitor)) return false;
    std::memcpy(device, monitor.szDevice, CCHDEVICENAME);
    return true;
}
