// What the Windows host knows of the system it runs on, fixed once at the start of the process:
// the program module's instance handle and whether this is Windows 95/98/Me. A leaf: it calls no
// other part of the host, so every part may ask it. Win32 only.
#pragma once
#ifndef _WIN32
#error "platform_facts.h belongs to the Win32 host"
#endif

#include <windows.h>

// Takes the module handle and detects the platform family; the first thing the entry does.
void initHostState(HINSTANCE moduleInstance);

HINSTANCE hostModuleInstance();
bool hostIsWin9x();  // Windows 95/98/Me: password gate, "a" switch, AutoPlay cancel
