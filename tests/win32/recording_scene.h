// A stand-in for the scene's saverProc, linked into the host's in-process tests: it records which
// messages reach the scene and otherwise behaves as the scene does towards the host (creation
// returns 0, destruction posts the quit message, everything else goes to the default handling that
// the host hands it).
#pragma once

#include <windows.h>

// True when the scene has seen the message (with this wParam, unless any wParam will do).
bool sceneSaw(UINT message);
bool sceneSaw(UINT message, WPARAM wParam);
void forgetSceneMessages();
