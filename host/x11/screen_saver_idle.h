// Idle time on X11 with no compositor: the X server's MIT-SCREEN-SAVER extension, which counts
// the time since the last input (real, or XTEST's). X11 only.
#pragma once
#ifdef _WIN32
#error "host/x11/screen_saver_idle.h belongs to the X11 host"
#endif

#include <cstdint>

#include "host/unix/idle_sources.h"

// Opens the display; false when there is none, or it lacks the extension.
bool openX11Idle();

// Reports idled after the given time without input, resumed at the next input, and gone when
// the X server goes away.
void watchX11Idle(uint32_t milliseconds, const IdleReports* reports);
