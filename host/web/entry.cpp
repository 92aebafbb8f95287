// The page's program: reads the URL query and the hosts' settings, builds the scene on #canvas at
// the device pixel ratio, and draws one frame per animation frame (at most max-fps a second) while
// the page is shown and no host has paused it. The page itself is host/web/page.js; its settings
// dialog's rules are in settings/web/config_dialog.cpp.
#include <emscripten.h>
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
    bool hidden, hostPaused, paused;
    bool loopRunning;
    double nextFrameMilliseconds;  // with a frame cap, no frame before this animation time
} gPage;

static const char kCanvasSelector[] = "#canvas";
static const double kPreviewWidthCssPixels = 640;  // narrower shows no banner, as a preview
static const double kMillisecondsPerSecond = 1000;
// An animation frame may come this much early and still be the one a frame cap waits for.
static const double kPacingSlackMilliseconds = 2;
enum HostReply { kHostApplied = 0, kHostNeedsRestart = 1, kHostRefused = -1 };

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
    resizeScene(drawingPixels(gPage.cssWidth), drawingPixels(gPage.cssHeight));
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
    drawSceneFrame();
    return EM_TRUE;
}

static void startFrameLoop() {
    if (gPage.loopRunning || !gPage.sceneMade) return;
    gPage.loopRunning = true;
    gPage.nextFrameMilliseconds = 0;
    emscripten_request_animation_frame_loop(onAnimationFrame, nullptr);
}

// Hidden or paused by a host, the scene's clock stands still and no frame is asked for.
static void updatePause() {
    const bool paused = gPage.hidden || gPage.hostPaused;
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

// The page's own events that reach the program; the rest are page.js's.
static void listenToPage() {
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibilityChange);
    EmscriptenVisibilityChangeEvent visibility;
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS) {
        gPage.hidden = visibility.hidden;
    }
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
    // A host's values stand over the query's: its panel is where the user changed them last.
    setSettingOverrides(overlay(gPage.query.overrides, gPage.host.overrides));
    listenToPage();
    readCanvasSize();
    sizeDrawingBuffer();
    gPage.sceneMade = createScene(kCanvasSelector, drawingPixels(gPage.cssWidth),
                                  drawingPixels(gPage.cssHeight));
    if (!gPage.sceneMade) return 0;
    gPage.paused = false;
    updatePause();
    if (!gPage.paused) startFrameLoop();
    return 0;
}

// ---- what page.js calls ----------------------------------------------------------------------

extern "C" {

// A value from a host's settings panel, by the query's name and text. Before the scene is built it
// joins the run's settings; afterwards a frame cap applies at once, and a setting that differs
// from the running scene's asks the page to start again with it (kHostNeedsRestart).
EMSCRIPTEN_KEEPALIVE int skyfoldHostSetting(const char* name, const char* value) {
    PageQuery given = readPageQuery("");
    if (!readPageParameter(name, value, &given) || !given.message.empty()) return kHostRefused;
    if (given.frameCapGiven) {
        gPage.host.frameCapGiven = true;
        gPage.host.framesPerSecondCap = given.framesPerSecondCap;
        gPage.nextFrameMilliseconds = 0;
    }
    if (gPage.sceneMade) return differsFromRun(given.overrides) ? kHostNeedsRestart : kHostApplied;
    gPage.host.overrides = overlay(gPage.host.overrides, given.overrides);
    return kHostApplied;
}

EMSCRIPTEN_KEEPALIVE void skyfoldHostPaused(int paused) {
    gPage.hostPaused = paused != 0;
    updatePause();
}

}  // extern "C"
