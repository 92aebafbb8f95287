// The frame clock's time source on Linux, X11 and Wayland alike: the monotonic clock in
// nanoseconds, which every Linux system has, so the millisecond fallback is never taken.
#include <time.h>

#include "scene/clock_source.h"

static const int64_t kNanosecondsPerSecond = 1000000000;

bool clockCounterFrequency(int64_t* ticksPerSecond) {
    *ticksPerSecond = kNanosecondsPerSecond;
    return true;
}

int64_t clockCounterValue() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

uint32_t clockMilliseconds() {
    return static_cast<uint32_t>(clockCounterValue() / 1000000);
}
