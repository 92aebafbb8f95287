// The process-wide pseudo-random generator shared by the note field, the camera pitch and the
// banner: a 32-bit linear congruential generator whose values run from 0 to 32767. Its state is 1
// at process start, so every draw made before the scene reseeds it is the same in every run.
#pragma once

#include <cstdint>

namespace skyfold {

const int kRandomMax = 32767;  // largest value rand() returns

// Returns the next value, 0 to kRandomMax.
int rand();

// Restarts the sequence from the given state (the scene seeds it once with the calendar time).
void srand(uint32_t seed);

// Makes next the state rand() draws from and returns the one it replaces: each view of a scene
// drawn on several monitors keeps its own place in the sequence.
uint32_t exchangeRandomState(uint32_t next);

}  // namespace skyfold
