// logind on the system bus: its idle inhibitors as a hold, this session's LockedHint as a lock
// sign, its Lock, and a delay inhibitor that lets the watcher lock before the machine sleeps.
// Followed through logind's restarts; nothing where there is no system bus. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/logind.h belongs to the Linux host"
#endif

#include "host/idle_sources.h"

// With delaySleep, the watcher holds a delay inhibitor for sleep, reports sleepComing when the
// machine is about to sleep, and takes the inhibitor again after it wakes.
void watchLogind(const IdleReports* reports, bool delaySleep);

// Asks logind to lock this session: its lockers react (GNOME's, KDE's, xss-lock, light-locker,
// swayidle's, hypridle's).
void lockThroughLogind();

// Lets the machine sleep now: the lock came, or the wait for it passed.
void releaseSleepDelay();
