// Whether and when the watcher locks: its options, else the desktop's own lock settings where they
// can be read (GNOME's GSettings, KDE Plasma's kscreenlockerrc), else never. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/lock_settings.h belongs to the Linux host"
#endif

#include "host/idle_rules.h"
#include "host/program_options.h"

LockPlan planWatcherLocking(const ProgramOptions& options);
