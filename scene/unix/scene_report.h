// How the scene reports to a Linux run, whichever window system draws: failures as one line on
// stderr (with the texts Windows shows in its message boxes), and the scene's own request to end.
#pragma once
#ifdef _WIN32
#error "scene/unix/scene_report.h belongs to the Linux scene"
#endif

#include "scene/scene_platform.h"  // showSceneError and quitSceneRun, implemented here

// True once the scene has asked for the run to end (quitSceneRun).
bool sceneQuitRequested();

// The surface could not be made: one line with the caption the Windows build's message box has.
// Returns false, for the caller to return.
bool reportSurfaceFailure(const char* text);
