// One scene shown in several views of one rendering context at once (a Wayland run's surface on
// each monitor, or each monitor's part of one window on Windows and X11): the textures, the lists,
// the settings and the clock are the run's, while each view keeps its own place, size, notes,
// camera, banner and frame-rate reading. A view is entered before its frame and left after it.
#pragma once

#include <cstdint>

#include "scene/view_state.h"

struct SceneView {
    int32_t x;       // pixels from the left edge of its surface, 0 for a surface of its own
    int32_t y;       // pixels from the bottom edge of its surface, 0 for a surface of its own
    int32_t width;   // pixels
    int32_t height;  // pixels
    ViewState state;
};

// A view of the given size, started now: the first continues the scene, a later one has a sky of
// its own. The meter's second starts at nowSeconds with the process's CPU time then.
void startSceneView(SceneView* view, int32_t width, int32_t height, double nowSeconds,
                    double cpuSeconds);

// The view is gone: its notes are let go.
void endSceneView(SceneView* view);

// The view is now width x height pixels: its banner keeps its place against the right edge.
void resizeSceneViewTo(SceneView* view, int32_t width, int32_t height);

// The view now lies at x, y of its surface (pixels from the lower left corner).
void placeSceneViewAt(SceneView* view, int32_t x, int32_t y);

// The next frame is the view's: the scene takes its place and size (compiling the projection list
// anew only when they differ from the last view's) and its own state.
void enterSceneView(SceneView* view);

// The view's frame is done: it keeps what its state became.
void leaveSceneView(SceneView* view);
