// Recording stand-in for the scene's saverProc.
#include "tests/win32/recording_scene.h"

#include "scene/win32/scene_surface.h"

static const int kRecordCapacity = 4096;

static struct {
    WNDPROC defaultProc;
    int count;
    UINT messages[kRecordCapacity];
    WPARAM wParams[kRecordCapacity];
} gRecord;

static bool sawMatching(UINT message, bool anyWParam, WPARAM wParam) {
    for (int i = 0; i < gRecord.count; ++i) {
        if (gRecord.messages[i] == message && (anyWParam || gRecord.wParams[i] == wParam)) return true;
    }
    return false;
}

bool sceneSaw(UINT message) { return sawMatching(message, true, 0); }
bool sceneSaw(UINT message, WPARAM wParam) { return sawMatching(message, false, wParam); }
void forgetSceneMessages() { gRecord.count = 0; }

LRESULT CALLBACK saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gRecord.count < kRecordCapacity) {
        gRecord.messages[gRecord.count] = message;
        gRecord.wParams[gRecord.count] = wParam;
        ++gRecord.count;
    }
    switch (message) {
        case WM_CREATE: return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return gRecord.defaultProc(window, message, wParam, lParam);
    }
}

void setSceneDefaultProc(WNDPROC defaultProc) { gRecord.defaultProc = defaultProc; }

DWORD sceneFrameWaitMilliseconds() { return INFINITE; }  // no frames: only messages wake the loop
