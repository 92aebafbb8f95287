// Reading the switch that Windows passes to a screen saver: where the switch text starts in the
// full command line, which run mode its first letter selects, and the decimal window handle that
// may follow. Pure text arithmetic; the Win32 entry validates handles and runs the mode.
#pragma once

#include <cstdint>

enum class RunMode {
    Configure,       // no switch, or "c" with an optional ":<owner>"
    FullScreen,      // "s"
    Preview,         // "p" or "l" with the preview window's handle
    ChangePassword,  // "a" with the owner's handle (Windows 9x only)
    Rejected         // anything else: the process ends with -1
};

struct SwitchChoice {
    RunMode mode;
    bool namesOwner;  // "c" and "a": a missing or dead owner falls back to the foreground window
    uint32_t handle;  // as written on the command line; 0 when none was given
};

// Steps over one character of a possibly double-byte string (CharNextA on Windows).
typedef const char* (*CharStepper)(const char* text);

// Returns where the switch text begins: past the program name (quoted or not) and the blanks and
// control characters after it.
const char* findSwitchText(const char* commandLine, CharStepper nextChar);

// Picks the run mode from the first significant byte of the switch text.
SwitchChoice scanSwitchText(const char* switchText);

// Reads decimal digits up to the first non-digit; no sign, no blanks, wraps modulo 2^32.
uint32_t parseWindowHandle(const char* text);
