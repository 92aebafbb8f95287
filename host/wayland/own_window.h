// A Wayland run's window of its own (xdg-shell): a resizable window, 1280x720 unless the run asks
// for another size, that the compositor's close ends; or, where the compositor has no layer shell
// (GNOME's mutter, weston), the full-screen run's stand-in: a window set full screen on the
// monitor the compositor chooses. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/own_window.h belongs to the Wayland host"
#endif

#include <cstdint>

// Opens the window; it draws from its first configure on. False when the compositor offers no
// xdg-shell (said on stderr).
bool openOwnWindow(int32_t widthPixels, int32_t heightPixels, bool fullScreen);

// Destroys the window. The scene's view must be gone first.
void closeOwnWindow();
