// What each view of a scene drawn on several monitors keeps of its own: its notes, its camera, its
// place in the random sequence, the time of its last frame, its banner and its frame-rate reading.
// Textures, lists, settings and the clock stay the scene's. The first view continues the scene as
// a run on one window would; every later one gets a sky of its own.
#pragma once

#include <cstdint>
#include <memory>

#include "scene/banner_motion.h"
#include "scene/frame_rate_meter.h"
#include "scene/note_motion.h"
#include "scene/pitch_director.h"

struct ViewState {
    Note* notes;                        // notePool for the first view, else ownNotes
    std::unique_ptr<Note[]> ownNotes;
    PitchState pitch;
    uint32_t randomState;
    float previousFrameTime;            // seconds: the view's last frame
    BannerState banner;
    FrameRateMeterState meter;
};

// Starts a view at the scene's present frameTime: its notes first move by the time from then. The
// first view (while no other holds it) takes the scene's notes, camera and random state as they
// stand; a later one draws a seed from the scene's sequence and fills a pool, and starts a camera,
// of its own.
void startViewState(ViewState* view, int32_t viewAngle, double nowSeconds, double cpuSeconds);

// Lets the view's notes go. The first view's pool, camera and place in the sequence go back to the
// scene, for the next view that continues it.
void endViewState(ViewState* view);

// Exchanges the view's state with the scene's: once before the view's frame, once after it.
void exchangeViewState(ViewState* view);
