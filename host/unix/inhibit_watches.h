// The requests not to start that the watcher honours beside the compositor's own: the session
// bus's org.freedesktop.ScreenSaver (served by the watcher where nobody owns it, else read from
// the desktop that does) and logind's idle inhibitors on the system bus. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/inhibit_watches.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include "host/unix/idle_sources.h"

// Also reports the session bus going away.
void watchSessionInhibits(GDBusConnection* sessionBus, const IdleReports* reports);

// Nothing where there is no system bus or no logind on it.
void watchLogindInhibits(const IdleReports* reports);

// Follows the book of the desktop that owns org.freedesktop.ScreenSaver, where the watcher knows
// how that desktop keeps it.
void followDesktopInhibits(GDBusConnection* sessionBus);

// Serves org.freedesktop.ScreenSaver at /org/freedesktop/ScreenSaver and /ScreenSaver; false
// when another owns the name (then the desktop's book holds the requests).
bool serveScreenSaver(GDBusConnection* sessionBus, const IdleReports* reports);
