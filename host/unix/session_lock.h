// The session's own lock, seen and asked for on the session bus: GNOME Shell's
// org.gnome.ScreenSaver and the org.freedesktop.ScreenSaver of a desktop that keeps it (KDE Plasma,
// Xfce, Cinnamon), each with Lock, GetActive and ActiveChanged; logind's session lock where neither
// answers. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/session_lock.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include "host/idle_sources.h"

// Reports each desktop's lock (or blank) as a lock sign, read when the desktop comes and followed
// through ActiveChanged.
void watchSessionLock(GDBusConnection* sessionBus, const IdleReports* reports);

// Asks the desktop's locker, else logind, to lock the session; returns the lock sign that is its
// answer.
LockSign lockSession();
