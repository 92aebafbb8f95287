// The OpenGL surface of a run in the browser: the WebGL 1 context on the page's canvas, the frame's
// clock and draw, pausing, and the teardown order. Failures are shown by the page with the texts
// the Windows build shows in its message boxes.
#include "scene/web/scene_surface.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "scene/frame_clock.h"
#include "scene/render_state.h"
#include "scene/scene_host.h"
#include "scene/scene_platform.h"
#include "scene/scene_start.h"
#include "scene/scene_view.h"
#include "scene/web/scene_clock_pause.h"

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

void showSceneError(const char* caption, const char* text) {
    showPageFailure(caption, text);
}

void quitSceneRun() {
    gSurface.quitRequested = true;
}

bool sceneQuitRequested() {
    return gSurface.quitRequested;
}

// The surface every platform asks for: opaque RGBA with a depth buffer, no multisampling, and a
// buffer that the browser may discard once it has shown it.
static bool makeContext(const char* canvasSelector) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;  // the clear colour's zero alpha must not let the page through
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    gSurface.renderContext = emscripten_webgl_create_context(canvasSelector, &attributes);
    if (gSurface.renderContext <= 0) {
        showSceneError(kSurfaceFailureCaption, "Sorry dude. Can't get a rendering context.");
        return false;
    }
    if (emscripten_webgl_make_context_current(gSurface.renderContext) != EMSCRIPTEN_RESULT_SUCCESS) {
        showSceneError(kSurfaceFailureCaption, "Sorry dude. Can't activate the RC.");
        return false;
    }
    return true;
}

bool createScene(const char* canvasSelector, int32_t width, int32_t height) {
    if (!makeContext(canvasSelector)) return false;
    viewWidth = width;
    viewHeight = height;
    startScene();
    return true;
}

void drawSceneFrame() {
    advanceFrameClock();
    drawFrame();
}

void resizeScene(int32_t width, int32_t height) {
    scenePreview = hostIsPreview();
    resizeSceneView(width, height);
}

void pauseScene() {
    pauseSceneClock();
}

void resumeScene() {
    resumeSceneClock();
}

void destroyScene() {
    if (gSurface.renderContext <= 0) return;
    releaseSceneResources();
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context(gSurface.renderContext);
    gSurface.renderContext = 0;
}
