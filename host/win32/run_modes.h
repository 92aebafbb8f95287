// The process entry's work: which platform family this is, which run mode the switch selects, and
// the exit code that mode ends with. Win32 only.
#pragma once
#ifndef _WIN32
#error "run_modes.h belongs to the Win32 host"
#endif

#include <windows.h>

// Takes the module handle and detects the platform family; the first thing the entry does.
void initHostState(HINSTANCE moduleInstance);

// Runs the mode that the switch text selects and returns the process's exit code.
int dispatchCommandLine(HINSTANCE moduleInstance, const char* switchText);

// Shows the configuration dialog modally; returns the value it ends with, or -1.
int openConfigDialog(HWND owner);

HINSTANCE hostModuleInstance();
bool hostIsWin9x();  // Windows 95/98/Me: password gate, "a" switch, AutoPlay cancel
