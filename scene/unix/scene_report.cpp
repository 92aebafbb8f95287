// The Linux scene's reports: a failure is a line on stderr, and the scene's request to end the run
// is a flag that the host's loop reads between frames.
#include "scene/unix/scene_report.h"

#include <cstdio>

static struct {
    bool quitRequested;
} gReport;

void showSceneError(const char* caption, const char* text) {
    std::fprintf(stderr, "skyfold: %s: %s\n", caption, text);
}

bool reportSurfaceFailure(const char* text) {
    showSceneError(kSurfaceFailureCaption, text);
    return false;
}

void quitSceneRun() {
    gReport.quitRequested = true;
}

bool sceneQuitRequested() {
    return gReport.quitRequested;
}
