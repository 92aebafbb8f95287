// The same-frame test's fixed frame: startScene's steps in its order, with the seed, settings and
// clock readings fixed, so that both platforms compute the same notes and banner.
#include "tests/web/frame_probe_steps.h"

#include "scene/frame_clock.h"
#include "scene/random_generator.h"
#include "scene/render_state.h"
#include "scene/scene_host.h"
#include "scene/scene_view.h"
#include "settings/saver_settings.h"
#include "tests/native/fake_clock_source.h"

// The probe is the scene's host and settings store: a full-screen run with fixed settings. The
// most notes, so that the browser's frames are long enough for the GL layer to flush within them.
SaverSettings saverSettings = {1500, FrontOn, AustralianDollars};

void loadSettings() {}

bool saveSettings() { return true; }

bool hostIsPreview() { return false; }

void drawProbeFrames(uint32_t seed) {
    fakeClock = FakeClock{true, 1000000, 0, 0};
    skyfold::srand(seed);
    scenePreview = false;
    viewWidth = kProbeWidthPixels;
    viewHeight = kProbeHeightPixels;
    initRenderState();
    setViewProjection(viewWidth, viewHeight);
    startFrameClock();
    for (int frame = 1; frame <= kProbeFrames; ++frame) {
        fakeClock.counter = frame * kProbeFrameMicroseconds;
        advanceFrameClock();
        drawFrame();
    }
}
