// The scene's creation steps after its surface exists. The note pool was filled before the program's
// entry from the unseeded sequence; the seeding here only changes what comes after.
#include "scene/scene_start.h"

#include <cstdint>
#include <ctime>

#include "scene/banner_overlay.h"
#include "scene/frame_clock.h"
#include "scene/random_generator.h"
#include "scene/render_state.h"
#include "scene/scene_host.h"
#include "scene/scene_view.h"
#include "settings/saver_settings.h"

void startScene() {
    // Read 0 until the first frame, also where the scene starts again (the page, when its settings
    // change): the banner and the camera time their first moves from it.
    frameTime = 0.0f;
    frameDelta = 0.0f;
    skyfold::srand(static_cast<uint32_t>(std::time(nullptr)));
    loadSettings();
    scenePreview = hostIsPreview();
    initRenderState();
    setViewProjection(viewWidth, viewHeight);
    startFrameClock();
}

void resizeSceneView(int32_t width, int32_t height) {
    if (width == viewWidth && height == viewHeight) return;
    keepBannerOverlayInView(viewWidth, width);
    viewWidth = width;
    viewHeight = height;
    rebuildViewProjection();
}
