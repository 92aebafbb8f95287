// Process entry of skyfold.scr: finds the switch text in the full command line, runs the selected
// mode and ends the process with its result. The arguments of WinMain are not used.
#include <windows.h>

#include "host/command_line.h"
#include "host/win32/run_modes.h"

// CharNextA steps over double-byte characters whole, so a quoted path in a DBCS code page is safe.
static const char* stepCharacter(const char* text) {
    return CharNextA(text);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* switchText = findSwitchText(GetCommandLineA(), stepCharacter);
    ExitProcess(static_cast<UINT>(dispatchCommandLine(GetModuleHandleA(NULL), switchText)));
}
