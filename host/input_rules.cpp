// The input rules of a run, free of any window system so that they are tested everywhere.
#include "host/input_rules.h"

static uint64_t distance(int32_t a, int32_t b) {
    const int64_t d = static_cast<int64_t>(a) - static_cast<int64_t>(b);
    return static_cast<uint64_t>(d < 0 ? -d : d);
}

uint64_t mouseTravel(ScreenPoint reference, ScreenPoint current) {
    return distance(current.x, reference.x) + distance(current.y, reference.y);
}

bool mouseTravelEndsRun(ScreenPoint reference, ScreenPoint current) {
    return mouseTravel(reference, current) > kMouseMoveThresholdPixels;
}

bool keyEndsRun(DrawTarget target, bool isQuitKey) {
    return target == DrawTarget::FullScreen || (target == DrawTarget::OwnWindow && isQuitKey);
}

bool pressEndsRun(DrawTarget target) {
    return target == DrawTarget::FullScreen;
}

bool pointerTravelCounts(DrawTarget target) {
    return target == DrawTarget::FullScreen;
}
