// The falling notes' simulation: the fixed pool of 1500 notes, filled at process start from the
// unseeded random sequence, and how one note is reborn, advances and swings. No drawing here.
#pragma once

#include <cstdint>

#include "scene/scene_types.h"

const int kNotePoolSize = 1500;
const float kRespawnBelowUnits = -15.0f;   // a note below this height is reborn above the view

struct Note {
    Vec3 position;         // scene units: the pivot the note turns and swings about
    Vec3 velocity;         // units per second; y (the fall) always negative
    Vec3 angles;           // degrees: y the heading (never wrapped), z the swing
    Vec3 angularVelocity;  // degrees per second; only y is ever nonzero
    float phase;           // seconds: offset of the swing, a whole number 0 to 19
    int32_t listId;        // display list that draws the note, 1 to 10

    Note();                // respawn, then 5 units lower: the first arrangement
};

extern Note notePool[kNotePoolSize];

// The pool the note field advances and draws: notePool unless a view of a scene drawn on several
// monitors has put its own in place.
Note* notesInUse();

// Makes next (kNotePoolSize notes) the pool in use and returns the one it replaces.
Note* exchangeNotePool(Note* next);

// Gives the note a new random place, drift, speed, heading, turn rate, phase and list (ten draws).
void respawn(Note& note);

// Advances the note by the frame's time step; reborn when it has fallen out of the field.
void update(Note& note, float frameDeltaSeconds);

// Swing angle in degrees at the given time: +-35 degrees with a period of 4 seconds.
float swingDegrees(float phaseSeconds, float frameTimeSeconds);

// The number of pool notes a frame processes for a stored note count: never past the pool.
int32_t activeNoteCount(int32_t storedNoteCount);
