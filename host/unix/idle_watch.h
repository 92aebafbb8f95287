// The idle watcher, skyfold --idle: a process that stays in the session, shows the full-screen
// saver (a child process of its own) after a spell without input, and starts nothing while a
// player or browser asks it not to; and --install-autostart / --remove-autostart, which start it
// at login. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/idle_watch.h belongs to the Linux host"
#endif

#include "host/program_options.h"

// Runs until a signal (exit 0) or until the session goes away (exit 1, one line); a second
// watcher on the same display ends at once with 0 and one line.
int runIdleWatch(int argc, const char* const* argv, const ProgramOptions& options);

// Writes $XDG_CONFIG_HOME/autostart/skyfold.desktop, which runs this program with --idle and the
// other options given; a previous file is kept as skyfold.desktop.bak.
int installAutostart(int argc, const char* const* argv);
int removeAutostart();
