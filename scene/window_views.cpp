// The window's views and their frame. A view per monitor draws only inside its own scissor
// rectangle, so no note crosses from one monitor onto another. The whole window is cleared once a
// frame with the scissor off, which also blacks out what lies on no monitor: a clear inside a
// scissor rectangle costs a software renderer as much as drawing over every pixel of it, a whole
// clear next to nothing. Only views that overlap clear their own parts, each in its turn.
#include "scene/window_views.h"

#include "scene/frame_clock.h"
#include "scene/gl_api.h"
#include "scene/render_state.h"
#include "scene/scene_views.h"

static struct {
    int count;
    SceneView views[kMostWindowViews];
    bool fillsWindow;
    bool leavesGaps;
    bool overlaps;
} gWindow;

void layOutWindowViews(const PixelRect* monitors, int monitorCount, int32_t windowWidth,
                       int32_t windowHeight, double nowSeconds, double cpuSeconds) {
    const ViewLayout layout = layOutViews(monitors, monitorCount, windowWidth, windowHeight);
    for (int i = layout.count; i < gWindow.count; ++i) endSceneView(&gWindow.views[i]);
    for (int i = 0; i < layout.count; ++i) {
        const PixelRect& at = layout.views[i];
        SceneView* view = &gWindow.views[i];
        if (i < gWindow.count) resizeSceneViewTo(view, at.width, at.height);
        else startSceneView(view, at.width, at.height, nowSeconds, cpuSeconds);
        placeSceneViewAt(view, at.x, at.y);
    }
    gWindow.count = layout.count;
    gWindow.fillsWindow = layout.fillsWindow;
    gWindow.leavesGaps = layout.leavesGaps;
    gWindow.overlaps = layout.overlaps;
}

static void drawView(SceneView* view, bool clears, ViewFrameFinish finish) {
    enterSceneView(view);
    advanceFrameClock();
    if (clears) drawFrame();
    else drawFrameOnCleared();
    if (finish) finish();
    leaveSceneView(view);
}

void drawWindowViews(ViewFrameFinish finish) {
    if (gWindow.fillsWindow) {
        drawView(&gWindow.views[0], true, finish);
        return;
    }
    // The clear colour is black.
    if (!gWindow.overlaps) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    else if (gWindow.leavesGaps) glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (int i = 0; i < gWindow.count; ++i) {
        const SceneView& view = gWindow.views[i];
        glScissor(view.x, view.y, view.width, view.height);
        drawView(&gWindow.views[i], gWindow.overlaps, finish);
    }
    glDisable(GL_SCISSOR_TEST);
}

void endWindowViews() {
    for (int i = 0; i < gWindow.count; ++i) endSceneView(&gWindow.views[i]);
    gWindow.count = 0;
}
