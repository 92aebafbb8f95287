// What the watcher's idle sources and inhibit watches tell it, one set of callbacks for all of
// them (ext-idle-notify-v1 and org_kde_kwin_idle on Wayland, GNOME's idle monitor on D-Bus,
// MIT-SCREEN-SAVER on X11). Each source runs on GLib's main loop: it sleeps on its connection.
#pragma once
#ifdef _WIN32
#error "host/unix/idle_sources.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include <cstdint>

#include "host/idle_rules.h"  // InhibitHolder

struct IdleReports {
    void (*idled)();                                 // the timeout passed without input
    void (*resumed)();                               // input came after idled
    void (*gone)(const char* what);                  // the session went away: "X went away"
    void (*inhibits)(InhibitHolder holder, bool holds);  // a holder started or stopped holding
};

const uint32_t kMillisecondsPerSecond = 1000;

// True when someone owns the name on the bus (asked and answered before the call returns).
bool busNameOwned(GDBusConnection* bus, const char* name);
