// The views' own state and its exchange with the scene's modules, each of which keeps exactly one
// of it (the pool in use, the director, the random state, the clock's last frame, the banner, the
// meter).
#include "scene/view_state.h"

#include "scene/frame_clock.h"
#include "scene/random_generator.h"

static struct {
    bool processPoolTaken;  // a view draws notePool
} gViews;

static const int kSeedHalfBits = 16;

// A later view's place in the sequence: two draws from the scene's own state, which no view
// draws from while it holds a copy of its own.
static uint32_t drawViewSeed() {
    const uint32_t high = static_cast<uint32_t>(skyfold::rand());
    return (high << kSeedHalfBits) ^ static_cast<uint32_t>(skyfold::rand());
}

static void continueScene(ViewState* view) {
    gViews.processPoolTaken = true;
    view->notes = notePool;
    view->randomState = skyfold::exchangeRandomState(0);
    skyfold::exchangeRandomState(view->randomState);
    view->pitch = exchangePitchState(PitchState{});
    exchangePitchState(view->pitch);
    view->previousFrameTime = frameTime;
}

// The pool fills and the camera starts from the view's own state, swapped in for the purpose.
static void startSkyOfItsOwn(ViewState* view, int32_t viewAngle) {
    const uint32_t sceneRandom = skyfold::exchangeRandomState(drawViewSeed());
    view->ownNotes.reset(new Note[kNotePoolSize]);
    view->notes = view->ownNotes.get();
    const PitchState scenePitch = exchangePitchState(PitchState{});
    startInitialTransition(viewAngle, frameTime);
    view->pitch = exchangePitchState(scenePitch);
    view->randomState = skyfold::exchangeRandomState(sceneRandom);
    view->previousFrameTime = frameTime;
}

void startViewState(ViewState* view, int32_t viewAngle, double nowSeconds, double cpuSeconds) {
    if (!gViews.processPoolTaken) continueScene(view);
    else startSkyOfItsOwn(view, viewAngle);
    view->banner = freshBannerState(frameTime);
    view->meter = freshFrameRateMeter(nowSeconds, cpuSeconds);
}

// The scene takes back the camera and the place in the sequence of the view that continued it, so
// that a view made later to continue the scene (a monitor's cover made again) goes on from there
// rather than from where the scene stood when the run began.
static void handBackToScene(ViewState* view) {
    exchangeViewState(view);
    gViews.processPoolTaken = false;
}

void endViewState(ViewState* view) {
    if (view->notes == notePool) handBackToScene(view);
    view->ownNotes.reset();
    view->notes = nullptr;
}

void exchangeViewState(ViewState* view) {
    view->notes = exchangeNotePool(view->notes);
    view->pitch = exchangePitchState(view->pitch);
    view->randomState = skyfold::exchangeRandomState(view->randomState);
    view->previousFrameTime = exchangePreviousFrameTime(view->previousFrameTime);
    view->banner = exchangeBannerState(view->banner);
    view->meter = exchangeFrameRateMeter(view->meter);
}
