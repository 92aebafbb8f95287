// Views of one scene: entering a view exchanges its own state with the scene's and, where its place
// or size differs from what the projection list holds, recompiles that list. A single view of a
// fixed size therefore draws exactly what a run on one window draws.
#include "scene/scene_views.h"

#include "scene/render_state.h"
#include "scene/scene_view.h"
#include "settings/saver_settings.h"

void startSceneView(SceneView* view, int32_t width, int32_t height, double nowSeconds,
                    double cpuSeconds) {
    view->x = 0;
    view->y = 0;
    view->width = width;
    view->height = height;
    startViewState(&view->state, saverSettings.viewAngle, nowSeconds, cpuSeconds);
}

void endSceneView(SceneView* view) {
    endViewState(&view->state);
}

void resizeSceneViewTo(SceneView* view, int32_t width, int32_t height) {
    const BannerState running = exchangeBannerState(view->state.banner);
    keepBannerInView(view->width, width);
    view->state.banner = exchangeBannerState(running);
    view->width = width;
    view->height = height;
}

void placeSceneViewAt(SceneView* view, int32_t x, int32_t y) {
    view->x = x;
    view->y = y;
}

void enterSceneView(SceneView* view) {
    if (view->x != viewX || view->y != viewY || view->width != viewWidth ||
        view->height != viewHeight) {
        viewX = view->x;
        viewY = view->y;
        viewWidth = view->width;
        viewHeight = view->height;
        rebuildViewProjection();
    }
    exchangeViewState(&view->state);
}

void leaveSceneView(SceneView* view) {
    exchangeViewState(&view->state);
}
