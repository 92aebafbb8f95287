// The arithmetic behind "a mouse movement ends the run": travel is the sum of the absolute x and y
// distances from a reference point, and only travel beyond a small tolerance counts, so the jitter
// of a desk or a single spurious move never ends a run.
#pragma once

#include <cstdint>

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

const uint32_t kMouseMoveThresholdPixels = 4;  // travel tolerated before a close is requested

// City-block distance between two screen positions, without overflow for any coordinates.
uint64_t mouseTravel(ScreenPoint reference, ScreenPoint current);

// True when the cursor has travelled more than the tolerance from the reference point.
bool mouseTravelEndsRun(ScreenPoint reference, ScreenPoint current);
