// Views of one scene: entering a view swaps its banner and meter in and, where its size differs
// from the size the projection list holds, recompiles that list. A single view of a fixed size
// therefore draws exactly what a run on one window draws.
#include "scene/scene_views.h"

#include "scene/frame_clock.h"
#include "scene/render_state.h"
#include "scene/scene_view.h"

void startSceneView(SceneView* view, int32_t width, int32_t height, double nowSeconds,
                    double cpuSeconds) {
    view->width = width;
    view->height = height;
    view->banner = freshBannerState(frameTime);
    view->meter = freshFrameRateMeter(nowSeconds, cpuSeconds);
}

void resizeSceneViewTo(SceneView* view, int32_t width, int32_t height) {
    const BannerState running = exchangeBannerState(view->banner);
    keepBannerInView(view->width, width);
    view->banner = exchangeBannerState(running);
    view->width = width;
    view->height = height;
}

void enterSceneView(SceneView* view) {
    if (view->width != viewWidth || view->height != viewHeight) {
        viewWidth = view->width;
        viewHeight = view->height;
        rebuildViewProjection();
    }
    view->banner = exchangeBannerState(view->banner);
    view->meter = exchangeFrameRateMeter(view->meter);
}

void leaveSceneView(SceneView* view) {
    view->banner = exchangeBannerState(view->banner);
    view->meter = exchangeFrameRateMeter(view->meter);
}
