// A saver run started in-process, ended as the end of its message loop ends it: the window gone,
// the quit message it posted taken from the queue, and what the run registered and loaded let go,
// so that the next test's run starts as the first one did.
#pragma once

#include <windows.h>

#include "host/win32/saver_window.h"

inline void endSaverRun() {
    if (IsWindow(saverWindowHandle())) DestroyWindow(saverWindowHandle());
    MSG quit;
    while (PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    finishSaverWindow();
}
