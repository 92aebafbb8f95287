// frame_probe.html, the browser half of the same-frame test: the scene's fixed frame (frame_probe_
// steps) drawn on an 800x450 canvas with the context the page makes, read back inside the task
// that drew it (the buffer is not kept once presented) into window.probeFrame as base64 RGBA rows,
// bottom row first. ?seed=N draws from another seed.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "scene/web/webgl_context.h"
#include "tests/web/frame_probe_steps.h"

// Leaves what the drawing buffer holds now in window.probeFrame.
EM_JS(void, publishFrame, (int width, int height), {
    var pixels = new Uint8Array(width * height * 4);
    GLctx.readPixels(0, 0, width, height, GLctx.RGBA, GLctx.UNSIGNED_BYTE, pixels);
    var text = "";
    for (var i = 0; i < pixels.length; i += 0x8000) {
        text += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
    }
    window.probeFrame = {width: width, height: height, rgba: btoa(text)};
});

EM_JS(void, publishFailure, (), { window.probeFrame = {error: "no WebGL context"}; });

// ?seed=N, or the probe's own seed.
EM_JS(uint32_t, querySeed, (uint32_t fallback), {
    return Number(new URLSearchParams(location.search).get("seed")) || fallback;
});

static bool makeProbeContext() {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    return makeSceneContext("#canvas", &context) == SceneContextResult::Made;
}

int main() {
    emscripten_set_canvas_element_size("#canvas", kProbeWidthPixels, kProbeHeightPixels);
    if (!makeProbeContext()) {
        publishFailure();
        return 0;
    }
    drawProbeFrames(querySeed(kProbeSeed));
    publishFrame(kProbeWidthPixels, kProbeHeightPixels);
    return 0;
}
