// The process entry's work: which run mode the switch selects, and the exit code that mode ends
// with. Win32 only.
#pragma once
#ifndef _WIN32
#error "run_modes.h belongs to the Win32 host"
#endif

#include <windows.h>

// Takes the platform facts, then runs the mode that the switch text selects and returns the
// process's exit code.
int dispatchCommandLine(HINSTANCE moduleInstance, const char* switchText);

// Shows the configuration dialog modally; returns the value it ends with, or -1.
int openConfigDialog(HWND owner);
