// The one window a saver run shows (a topmost full-screen popup, or a child of the preview window
// that Windows supplies), the process's message loop, and the rules that end a full-screen run on
// user input. Win32 only.
#pragma once
#ifndef _WIN32
#error "saver_window.h belongs to the Win32 host"
#endif

#include <windows.h>

#include "scene/scene_host.h"  // hostIsPreview, which this host implements for the scene

// Runs the saver full screen (no parent) or inside the preview window; returns the exit code.
int runSaverWindow(HWND previewWindow);

enum class SaverStart { Created, AlreadyRunning, Failed };

// Everything runSaverWindow does before its message loop: the single-instance check, the password
// verifier, the window class and the window. The loop and finishSaverWindow are left to the caller.
SaverStart startSaverWindow(HWND previewWindow);

// What runSaverWindow does once its loop has ended (the window is gone): the verifier unloaded and
// the window class unregistered, so that nothing of the run is left behind.
void finishSaverWindow();

HWND saverWindowHandle();

// The saver window's class procedure: the host's filters, then the scene's saverProc.
LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// defaultSaverProc, the saver window's default handling, is declared by the scene, which imports
// it (scene/win32/scene_surface.h), and implemented here.
