// The idle watcher, skyfold --idle: a process that stays in the session, shows the full-screen
// saver (a child process of its own) after a spell without input, starts nothing while a player
// or browser asks it not to or the session is locked, and locks the session when the user comes
// back where it is told to; and --install-autostart / --remove-autostart, which start it at
// login. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/idle_watch.h belongs to the Linux host"
#endif

#include "host/program_options.h"

// Runs on the window system chosen for it until a signal (exit 0) or until its own connection
// goes away (exit 1, one line); a second watcher on the same display ends at once with 0 and one
// line.
int runIdleWatch(const ProgramOptions& options, WindowSystem windowSystem, const char* argv0);

// Writes $XDG_CONFIG_HOME/autostart/skyfold.desktop, which runs this program with --idle and the
// other options given; a previous file is kept as skyfold.desktop.bak.
int installAutostart(const ProgramOptions& options, const char* argv0);
int removeAutostart();
