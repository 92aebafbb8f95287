// Idle time on X11 with no compositor: the X server's SYNC IDLETIME counter, or where SYNC lacks
// it the MIT-SCREEN-SAVER extension; both count the time since the last input (real, XTEST's, or
// a player's XResetScreenSaver). Also tells when the server's own screen saver or DPMS blanks the
// screen. X11 only.
#pragma once
#ifdef _WIN32
#error "host/x11/screen_saver_idle.h belongs to the X11 host"
#endif

#include <cstdint>

#include "host/idle_sources.h"

// Opens the display and says which of the two the server offers; false when there is no display.
bool openX11Idle(bool* syncIdleTime, bool* screenSaver);

// Reports idled after the given time without input (source X11SyncIdleTime or X11ScreenSaver),
// resumed at the next input, the server's screen saver and DPMS as kX11Blanked, and gone when the
// X server goes away.
void watchX11Idle(IdleSource source, uint32_t milliseconds, const IdleReports* reports);
