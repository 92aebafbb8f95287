// The time sources the frame clock reads. Each platform implements them (scene/win32/ with the
// performance counter and the multimedia millisecond clock, scene/unix/ and scene/web/ with a
// monotonic clock); the native tests link a controllable fake.
#pragma once

#include <cstdint>

// Stores the counter's ticks per second and returns true, or returns false when there is no counter.
bool clockCounterFrequency(int64_t* ticksPerSecond);

// Current value of the monotonic 64-bit tick counter.
int64_t clockCounterValue();

// Milliseconds since system start, 32 bits, wrapping.
uint32_t clockMilliseconds();
