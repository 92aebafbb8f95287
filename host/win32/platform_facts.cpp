// The platform facts of the Windows host: the module handle as the entry got it, and the platform
// family as the plain version query reports it.
#include "host/win32/platform_facts.h"

#ifdef _MSC_VER
#pragma warning(disable : 4996)  // GetVersionExA: the plain version query is what tells 9x from NT
#endif

static struct {
    HINSTANCE moduleInstance;
    bool isWin9x;
} gFacts;

HINSTANCE hostModuleInstance() { return gFacts.moduleInstance; }
bool hostIsWin9x() { return gFacts.isWin9x; }

static bool detectWin9x() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    const BOOL known = GetVersionExA(&version);
    return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void initHostState(HINSTANCE moduleInstance) {
    gFacts.moduleInstance = moduleInstance;
    gFacts.isWin9x = detectWin9x();
}
