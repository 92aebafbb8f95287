// Where the running program lies: the watcher runs its saver from there, the settings dialog is
// found beside it, and the autostart entry runs it. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/program_path.h belongs to the Linux host"
#endif

#include <string>

// /proc/self/exe's target, or argv0 where it cannot be read.
std::string ownProgramPath(const char* argv0);
