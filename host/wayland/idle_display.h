// The idle watcher's own connection to the Wayland compositor: the globals it needs to be told of
// idle time (a seat, and ext-idle-notify-v1 or org_kde_kwin_idle), and the connection watched on
// GLib's main loop. Apart from the saver's connection, which is another process. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/idle_display.h belongs to the Wayland host"
#endif

#include <cstdint>

#include "host/idle_sources.h"

// Connects and reads the globals; false when no compositor answers.
bool openIdleDisplay(bool* extIdleNotify, bool* kdeIdle);

// Asks the source (one of the two above) for idled and resumed at the given idle time, and
// reports gone when the compositor goes away.
void watchWaylandIdle(IdleSource source, uint32_t milliseconds, const IdleReports* reports);
