// The OpenGL surface of a run in the browser: the WebGL 1 context on the page's canvas, the frame's
// clock and draw, pausing, a new start in place, a context lost and given back, and the teardown
// order. Failures are shown by the page with the texts the Windows build shows in its message
// boxes.
#include "scene/web/scene_surface.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "scene/banner_overlay.h"
#include "scene/frame_clock.h"
#include "scene/render_state.h"
#include "scene/scene_host.h"
#include "scene/scene_platform.h"
#include "scene/scene_start.h"
#include "scene/scene_view.h"
#include "scene/web/gl11.h"
#include "scene/web/scene_clock_pause.h"
#include "scene/web/webgl_context.h"

static struct {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE renderContext;
    bool quitRequested;
} gSurface;

// The page's skyfoldShowFailure puts the caption and text on the page, where a blank canvas would be.
EM_JS(void, showPageFailure, (const char* caption, const char* text), {
    if (typeof skyfoldShowFailure === 'function') {
        skyfoldShowFailure(UTF8ToString(caption), UTF8ToString(text));
    }
});

EM_JS(void, clearPageFailure, (), {
    if (typeof skyfoldClearFailure === 'function') skyfoldClearFailure();
});

void showSceneError(const char* caption, const char* text) {
    showPageFailure(caption, text);
}

void quitSceneRun() {
    gSurface.quitRequested = true;
}

bool sceneQuitRequested() {
    return gSurface.quitRequested;
}

static void reportNoContext() {
    showSceneError(kSurfaceFailureCaption, "Sorry dude. Can't get a rendering context.");
}

static bool makeContext(const char* canvasSelector) {
    switch (makeSceneContext(canvasSelector, &gSurface.renderContext)) {
        case SceneContextResult::NotCreated:
            reportNoContext();
            return false;
        case SceneContextResult::NotCurrent:
            showSceneError(kSurfaceFailureCaption, "Sorry dude. Can't activate the RC.");
            return false;
        case SceneContextResult::Made: break;
    }
    return true;
}

bool createScene(const char* canvasSelector, int32_t width, int32_t height, double pixelRatio) {
    if (!makeContext(canvasSelector)) return false;
    viewWidth = width;
    viewHeight = height;
    setBannerScale(static_cast<float>(pixelRatio));
    startScene();
    return true;
}

void drawSceneFrame() {
    advanceFrameClock();
    drawFrame();
}

void resizeScene(int32_t width, int32_t height, double pixelRatio) {
    scenePreview = hostIsPreview();
    setBannerScale(static_cast<float>(pixelRatio));
    resizeSceneView(width, height);
}

void pauseScene() {
    pauseSceneClock();
}

void resumeScene() {
    resumeSceneClock();
}

void restartScene() {
    releaseSceneResources();
    startScene();
}

void restoreSceneContext() {
    gl11RestoreContext();
    clearPageFailure();
}

void reportSceneContextGone() {
    reportNoContext();
}

void destroyScene() {
    if (gSurface.renderContext <= 0) return;
    releaseSceneResources();
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context(gSurface.renderContext);
    gSurface.renderContext = 0;
}
