// Who keeps the session's requests not to start the saver, the one place that chooses between
// serving org.freedesktop.ScreenSaver and following a desktop: every name involved is watched for
// the watcher's whole run, and the choice is made again whenever an owner comes or goes. Linux
// only.
#pragma once
#ifdef _WIN32
#error "host/unix/hold_keeping.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include "host/idle_sources.h"

void watchHoldKeepers(GDBusConnection* sessionBus, const IdleReports* reports);

// True while another program owns org.freedesktop.ScreenSaver.
bool screenSaverKeptElsewhere();

// True while GNOME Shell runs, whose locker is org.gnome.ScreenSaver.
bool gnomeShellRuns();
