// The page's program: reads the URL query and the hosts' settings, builds the scene on #canvas at
// the device pixel ratio, and draws one frame per animation frame (at most max-fps a second) while
// the page is shown, no host has paused it and its WebGL context is there. Changed settings (a
// host's panel, the dialog's OK) build the scene again inside the running page. The page itself is
// host/web/page.js; its settings dialog's rules are in settings/web/config_dialog.cpp.
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <cstdlib>

#include "host/page_query.h"
#include "scene/scene_host.h"
#include "scene/web/scene_surface.h"
#include "settings/web/settings_store.h"

static struct {
    PageQuery query;           // the URL's
    PageQuery host;            // what a host's settings panel gave before the scene was built
    double cssWidth, cssHeight;
    double pixelRatio;
    bool sceneMade;
    bool hidden, hostPaused, contextLost, paused;
    bool loopRunning;
    bool restartDue;               // the settings changed: the next frame builds the scene anew
    long contextWaitTimer;         // while the context is lost; 0 when none
    double nextFrameMilliseconds;  // with a frame cap, no frame before this animation time
} gPage;

static const char kCanvasSelector[] = "#canvas";
static const double kPreviewWidthCssPixels = 640;  // narrower shows no banner, as a preview
static const double kMillisecondsPerSecond = 1000;
// An animation frame may come this much early and still be the one a frame cap waits for.
static const double kPacingSlackMilliseconds = 2;
// A browser gives a lost context back once its GPU process is up again; one that takes longer is
// shown as the failure it is, until it does come back.
static const double kContextReturnMilliseconds = 3000;

bool hostIsPreview() {
    return gPage.cssWidth < kPreviewWidthCssPixels;
}

EM_JS(char*, pageQueryText, (), {
    var text = window.location.search || "";
    var bytes = lengthBytesUTF8(text) + 1;
    var copy = _malloc(bytes);
    stringToUTF8(text, copy, bytes);
    return copy;
});

EM_JS(void, showQueryMessage, (const char* text), {
    if (typeof skyfoldShowQueryMessage === 'function') skyfoldShowQueryMessage(UTF8ToString(text));
});

// ---- size ----------------------------------------------------------------------------------

// NOTE: the first CSS size read at load can be stale, and a changed pixel ratio (zoom, another
// screen) comes with no resize event, so every frame compares; two reads cost next to nothing.
static bool readCanvasSize() {
    double width = 0, height = 0;
    emscripten_get_element_css_size(kCanvasSelector, &width, &height);
    const double ratio = emscripten_get_device_pixel_ratio();
    const bool changed =
        width != gPage.cssWidth || height != gPage.cssHeight || ratio != gPage.pixelRatio;
    gPage.cssWidth = width;
    gPage.cssHeight = height;
    gPage.pixelRatio = ratio;
    return changed;
}

static int32_t drawingPixels(double cssPixels) {
    const int32_t pixels = static_cast<int32_t>(cssPixels * gPage.pixelRatio + 0.5);
    return pixels > 0 ? pixels : 1;
}

static void sizeDrawingBuffer() {
    emscripten_set_canvas_element_size(kCanvasSelector, drawingPixels(gPage.cssWidth),
                                       drawingPixels(gPage.cssHeight));
}

static void followCanvasSize() {
    if (!readCanvasSize()) return;
    sizeDrawingBuffer();
    resizeScene(drawingPixels(gPage.cssWidth), drawingPixels(gPage.cssHeight), gPage.pixelRatio);
}

// ---- frames --------------------------------------------------------------------------------

static int32_t frameCap() {
    if (gPage.host.frameCapGiven) return gPage.host.framesPerSecondCap;
    if (gPage.query.frameCapGiven) return gPage.query.framesPerSecondCap;
    return kNoFrameCap;
}

// With a cap, frames are due one interval apart; one that falls behind starts the count again.
static bool frameDue(double nowMilliseconds) {
    const int32_t cap = frameCap();
    if (cap == kNoFrameCap) return true;
    if (nowMilliseconds + kPacingSlackMilliseconds < gPage.nextFrameMilliseconds) return false;
    const double interval = kMillisecondsPerSecond / cap;
    gPage.nextFrameMilliseconds += interval;
    if (gPage.nextFrameMilliseconds <= nowMilliseconds) {
        gPage.nextFrameMilliseconds = nowMilliseconds + interval;
    }
    return true;
}

static EM_BOOL onAnimationFrame(double nowMilliseconds, void*) {
    if (gPage.paused || sceneQuitRequested()) {
        gPage.loopRunning = false;
        return EM_FALSE;
    }
    followCanvasSize();
    if (!frameDue(nowMilliseconds)) return EM_TRUE;
    if (gPage.restartDue) {
        gPage.restartDue = false;
        restartScene();
    }
    drawSceneFrame();
    return EM_TRUE;
}

static void startFrameLoop() {
    if (gPage.loopRunning || !gPage.sceneMade) return;
    gPage.loopRunning = true;
    gPage.nextFrameMilliseconds = 0;
    emscripten_request_animation_frame_loop(onAnimationFrame, nullptr);
}

// Hidden, paused by a host or without its context, the scene's clock stands still and no frame
// is asked for.
static void updatePause() {
    const bool paused = gPage.hidden || gPage.hostPaused || gPage.contextLost;
    if (paused == gPage.paused) return;
    gPage.paused = paused;
    if (!gPage.sceneMade) return;
    if (paused) {
        pauseScene();
    } else {
        resumeScene();
        startFrameLoop();
    }
}

// ---- page events ---------------------------------------------------------------------------

static EM_BOOL onVisibilityChange(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    gPage.hidden = event->hidden;
    updatePause();
    return EM_FALSE;
}

static void onContextWaitOver(void*) {
    gPage.contextWaitTimer = 0;
    if (gPage.contextLost) reportSceneContextGone();
}

// NOTE: the browser gives a lost context back only to a page that prevents the loss's default,
// which returning true does.
static EM_BOOL onContextLost(int, const void*, void*) {
    gPage.contextLost = true;
    updatePause();
    if (!gPage.contextWaitTimer) {
        gPage.contextWaitTimer =
            emscripten_set_timeout(onContextWaitOver, kContextReturnMilliseconds, nullptr);
    }
    return EM_TRUE;
}

static EM_BOOL onContextRestored(int, const void*, void*) {
    if (gPage.contextWaitTimer) emscripten_clear_timeout(gPage.contextWaitTimer);
    gPage.contextWaitTimer = 0;
    restoreSceneContext();
    gPage.contextLost = false;
    updatePause();
    return EM_TRUE;
}

// The page's own events that reach the program; the rest are page.js's.
static void listenToPage() {
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibilityChange);
    EmscriptenVisibilityChangeEvent visibility;
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS) {
        gPage.hidden = visibility.hidden;
    }
}

static void listenToContext() {
    emscripten_set_webglcontextlost_callback(kCanvasSelector, nullptr, EM_FALSE, onContextLost);
    emscripten_set_webglcontextrestored_callback(kCanvasSelector, nullptr, EM_FALSE,
                                                 onContextRestored);
}

// ---- settings sources ----------------------------------------------------------------------

// The settings of over that are given, on top of base's.
static SettingOverrides overlay(SettingOverrides base, const SettingOverrides& over) {
    if (over.noteCountGiven) base.values.noteCount = over.values.noteCount;
    if (over.viewAngleGiven) base.values.viewAngle = over.values.viewAngle;
    if (over.currencyGiven) base.values.currencyType = over.values.currencyType;
    base.noteCountGiven |= over.noteCountGiven;
    base.viewAngleGiven |= over.viewAngleGiven;
    base.currencyGiven |= over.currencyGiven;
    return base;
}

// What the run's settings are made of: the query's, with a host's panel's over them (its panel is
// where the user changed them last).
static void applySettingSources() {
    setSettingOverrides(overlay(gPage.query.overrides, gPage.host.overrides));
}

// True when the value the host gives is not the one the running scene was built with.
static bool differsFromRun(const SettingOverrides& given) {
    return (given.noteCountGiven && given.values.noteCount != saverSettings.noteCount) ||
           (given.viewAngleGiven && given.values.viewAngle != saverSettings.viewAngle) ||
           (given.currencyGiven && given.values.currencyType != saverSettings.currencyType);
}

int main() {
    char* query = pageQueryText();
    gPage.query = readPageQuery(query);
    std::free(query);
    if (!gPage.query.message.empty()) showQueryMessage(gPage.query.message.c_str());
    applySettingSources();
    listenToPage();
    readCanvasSize();
    sizeDrawingBuffer();
    gPage.sceneMade = createScene(kCanvasSelector, drawingPixels(gPage.cssWidth),
                                  drawingPixels(gPage.cssHeight), gPage.pixelRatio);
    if (!gPage.sceneMade) return 0;
    listenToContext();
    gPage.paused = false;
    updatePause();
    if (!gPage.paused) startFrameLoop();
    return 0;
}

// ---- what page.js calls ----------------------------------------------------------------------

extern "C" {

// A value from a host's settings panel, by the query's name and text; one that cannot be used is
// left out. A frame cap applies at once; a setting joins the run's, and one that differs from the
// running scene's builds the scene again at the next frame.
EMSCRIPTEN_KEEPALIVE void skyfoldHostSetting(const char* name, const char* value) {
    PageQuery given = readPageQuery("");
    if (!readPageParameter(name, value, &given) || !given.message.empty()) return;
    if (given.frameCapGiven) {
        gPage.host.frameCapGiven = true;
        gPage.host.framesPerSecondCap = given.framesPerSecondCap;
        gPage.nextFrameMilliseconds = 0;
    }
    gPage.host.overrides = overlay(gPage.host.overrides, given.overrides);
    applySettingSources();
    if (gPage.sceneMade && differsFromRun(given.overrides)) gPage.restartDue = true;
}

EMSCRIPTEN_KEEPALIVE void skyfoldHostPaused(int paused) {
    gPage.hostPaused = paused != 0;
    updatePause();
}

// The dialog's OK has stored new settings: they take over from the query's, and the scene is built
// again with them at the next frame. The frame cap stays.
EMSCRIPTEN_KEEPALIVE void skyfoldUseStoredSettings() {
    gPage.query.overrides = readPageQuery("").overrides;
    applySettingSources();
    gPage.restartDue = true;
}

}  // extern "C"
