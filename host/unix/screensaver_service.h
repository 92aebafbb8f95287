// org.freedesktop.ScreenSaver served by the watcher where no desktop keeps it (sway, Hyprland
// without hypridle and the like): Inhibit and UnInhibit, the book of requests within its bounds,
// and each request dropped when its caller leaves the bus. hold_keeping decides when. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/screensaver_service.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include "host/idle_sources.h"

// Asks the bus for the name, without waiting in line and letting a desktop take it over; the
// objects are there while the name is the watcher's.
void serveScreenSaver(GDBusConnection* sessionBus, const IdleReports* reports);

// Gives the name back and drops every request.
void stopServingScreenSaver();

// True from serveScreenSaver until the name is given back or lost.
bool servingScreenSaver();
