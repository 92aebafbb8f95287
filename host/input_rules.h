// Which input ends a run, by where it draws, and the arithmetic behind "a mouse movement ends the
// run": travel is the sum of the absolute x and y distances from a reference point, and only travel
// beyond a small tolerance counts, so the jitter of a desk or a single spurious move never ends a
// run. The Linux program's window systems share these rules.
#pragma once

#include <cstdint>

#include "host/program_options.h"  // DrawTarget

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

const uint32_t kMouseMoveThresholdPixels = 4;  // travel tolerated before a close is requested

// City-block distance between two screen positions, without overflow for any coordinates.
uint64_t mouseTravel(ScreenPoint reference, ScreenPoint current);

// True when the cursor has travelled more than the tolerance from the reference point.
bool mouseTravelEndsRun(ScreenPoint reference, ScreenPoint current);

// A full-screen run ends on any key; a window of its own on q or Escape (isQuitKey); a window
// the daemon gave and the desktop's background on none, since their input is not the saver's.
bool keyEndsRun(DrawTarget target, bool isQuitKey);

// A button, a touch or the wheel ends a full-screen run only.
bool pressEndsRun(DrawTarget target);

// Pointer travel is measured in a full-screen run only.
bool pointerTravelCounts(DrawTarget target);
