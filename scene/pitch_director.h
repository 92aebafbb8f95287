// The camera's pitch: the angle in degrees by which the whole note field is tilted about the
// screen's horizontal axis. Each change is a 10-second cosine ease; in random mode the director
// picks bottom up, front on or top down (1 : 2 : 1) every so often.
#pragma once

#include <cstdint>

extern float currentPitch;  // degrees, applied by the frame; 0 until a transition moves it

// Starts the first transition for the view-angle setting; at scene creation, frameTime still 0.
void startInitialTransition(int32_t viewAngle, float frameTimeSeconds);

// Advances the pitch to frameTimeSeconds; may start a random transition.
void updatePitch(int32_t viewAngle, float frameTimeSeconds);

// The director's whole state, currentPitch with it. A scene drawn on several monitors gives each
// its own camera by exchanging this around the view's frame; a zero state is a level camera that
// no transition has moved yet.
struct PitchState {
    float pitch;             // degrees: currentPitch
    float startPitch;        // degrees
    float targetPitch;       // degrees
    float transitionEnd;     // seconds
    bool transitionActive;
    float nextChangeTime;    // seconds; random mode only
};

// Makes next the state that updatePitch moves and returns the one it replaces.
PitchState exchangePitchState(const PitchState& next);
