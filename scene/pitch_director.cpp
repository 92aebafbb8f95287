// Camera pitch transitions: a half-cosine ease from the pitch where a transition starts to one of
// -90 (bottom up), 0 (front on) or +90 (top down) degrees.
#include "scene/pitch_director.h"

#include <cmath>

#include "scene/random_generator.h"
#include "settings/saver_settings.h"

static PitchState gPitch;  // its pitch lives in currentPitch, which the frame reads

float currentPitch = 0.0f;

static const float kTransitionSeconds = 10.0f;
static const double kPi = 3.141592653589793;
static const float kBottomUpDegrees = -90.0f;
static const float kFrontOnDegrees = 0.0f;
static const float kTopDownDegrees = 90.0f;
static const int kRestChoices = 90;          // 0 to 89 extra whole seconds before the next choice
static const float kMinimumRestSeconds = 5.0f;
static const int kRandomChoices = 10;        // 0: bottom up, 1 and 3: front on, 2: top down

static void beginTransition(float targetDegrees, float frameTimeSeconds) {
    gPitch.targetPitch = targetDegrees;
    gPitch.transitionActive = true;
    gPitch.transitionEnd = frameTimeSeconds + kTransitionSeconds;
}

static void easeStep(float frameTimeSeconds) {
    const float halfSpan = (gPitch.targetPitch - gPitch.startPitch) * 0.5f;
    currentPitch = static_cast<float>(
        gPitch.startPitch + halfSpan +
        halfSpan * std::cos((frameTimeSeconds - gPitch.transitionEnd) * kPi / kTransitionSeconds));
    if (gPitch.transitionEnd - frameTimeSeconds <= 0.0f) {
        gPitch.transitionActive = false;
        gPitch.nextChangeTime = static_cast<float>(skyfold::rand() % kRestChoices) +
                                frameTimeSeconds + kMinimumRestSeconds;
    }
}

void startInitialTransition(int32_t viewAngle, float frameTimeSeconds) {
    gPitch.startPitch = currentPitch;
    switch (viewAngle) {
        case BottomUp: beginTransition(kBottomUpDegrees, frameTimeSeconds); break;
        case FrontOn:
        case Random: beginTransition(kFrontOnDegrees, frameTimeSeconds); break;
        case TopDown: beginTransition(kTopDownDegrees, frameTimeSeconds); break;
        default: break;
    }
}

// Random mode: once the rest is over, each frame draws until a choice starts a transition.
static void maybeStartRandomTransition(float frameTimeSeconds) {
    gPitch.startPitch = currentPitch;
    switch (skyfold::rand() % kRandomChoices) {
        case 0: beginTransition(kBottomUpDegrees, frameTimeSeconds); break;
        case 1:
        case 3: beginTransition(kFrontOnDegrees, frameTimeSeconds); break;
        case 2: beginTransition(kTopDownDegrees, frameTimeSeconds); break;
        default: return;
    }
    easeStep(frameTimeSeconds);
}

void updatePitch(int32_t viewAngle, float frameTimeSeconds) {
    if (gPitch.transitionActive) {
        easeStep(frameTimeSeconds);
    } else if (viewAngle == Random && frameTimeSeconds > gPitch.nextChangeTime) {
        maybeStartRandomTransition(frameTimeSeconds);
    }
}

PitchState exchangePitchState(const PitchState& next) {
    PitchState previous = gPitch;
    previous.pitch = currentPitch;
    gPitch = next;
    currentPitch = next.pitch;
    return previous;
}
