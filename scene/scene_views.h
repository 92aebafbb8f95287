// One scene shown on several surfaces of one rendering context at once (a Wayland run covers
// every monitor): the textures, the lists, the settings and the clock are the run's, while each
// view keeps its own size, notes, camera, banner and frame-rate reading. A view is entered before
// its frame and left after it.
#pragma once

#include <cstdint>

#include "scene/view_state.h"

struct SceneView {
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

// The next frame is the view's: the scene takes its size (compiling the projection list anew only
// when the size differs from the last view's) and its own state.
void enterSceneView(SceneView* view);

// The view's frame is done: it keeps what its state became.
void leaveSceneView(SceneView* view);
