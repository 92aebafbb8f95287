// GNOME's idle time: mutter's org.gnome.Mutter.IdleMonitor on the session bus, the only idle
// source GNOME offers on Wayland (no Wayland idle protocol). Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/mutter_idle.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include "host/idle_sources.h"

bool mutterIdleOffered(GDBusConnection* sessionBus);

// Reports idled after the given time without input, and resumed at the next input; waits, with a
// line, while the monitor is away (GNOME Shell restarting) and goes on when it is back.
void watchMutterIdle(GDBusConnection* sessionBus, uint32_t milliseconds,
                     const IdleReports* reports);
