// Windows of a Wayland run (xdg-shell): the window of its own, resizable, 1280x720 unless the run
// asks for another size, that the compositor's close ends; or, where the compositor has no layer
// shell (GNOME's mutter, weston), a full-screen run's stand-in: one window set full screen on each
// monitor. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/own_window.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

#include <cstdint>

struct OwnWindow;

// Opens a window that draws from its first configure on: full screen on the given monitor, or a
// window of its own where fullScreenOn is null. Null when the compositor offers no xdg-shell or
// too many windows are open (said on stderr).
OwnWindow* openOwnWindow(int32_t widthPixels, int32_t heightPixels, wl_output* fullScreenOn);

// True while the window may still draw: it waits for its first configure or has a live view.
bool ownWindowMayDraw(const OwnWindow* window);

// Destroys the window and its view.
void closeOwnWindow(OwnWindow* window);

void closeOwnWindows();
