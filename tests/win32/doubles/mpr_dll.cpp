// Test double of MPR.DLL's screen-saver password change: records the provider and owner it is
// called with and returns at once, as if the user closed the dialog.
#include <windows.h>

#include <cstdio>

#include "tests/win32/doubles/double_log.h"

extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD, LPVOID) {
    char line[128];
    std::snprintf(line, sizeof line, "PwdChangePasswordA %s %lu", provider ? provider : "(null)",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)));
    appendDoubleLog(line);
    return 0;
}
