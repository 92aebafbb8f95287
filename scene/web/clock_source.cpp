// The frame clock's time source in the browser: the page's monotonic clock in nanoseconds, less
// every stretch the scene spent paused (hidden page, a host's pause), so that time stands still
// while nothing is shown.
#include <emscripten.h>

#include "scene/clock_source.h"
#include "scene/web/scene_clock_pause.h"

static struct {
    double pausedMilliseconds;   // in all finished pauses
    double pauseStartMilliseconds;
    bool paused;
} gClock;

static const double kNanosecondsPerMillisecond = 1e6;

static double runningMilliseconds() {
    const double now = gClock.paused ? gClock.pauseStartMilliseconds : emscripten_get_now();
    return now - gClock.pausedMilliseconds;
}

bool clockCounterFrequency(int64_t* ticksPerSecond) {
    *ticksPerSecond = 1000000000;
    return true;
}

int64_t clockCounterValue() {
    return static_cast<int64_t>(runningMilliseconds() * kNanosecondsPerMillisecond);
}

uint32_t clockMilliseconds() {
    return static_cast<uint32_t>(static_cast<int64_t>(runningMilliseconds()));
}

void pauseSceneClock() {
    if (gClock.paused) return;
    gClock.paused = true;
    gClock.pauseStartMilliseconds = emscripten_get_now();
}

void resumeSceneClock() {
    if (!gClock.paused) return;
    gClock.paused = false;
    gClock.pausedMilliseconds += emscripten_get_now() - gClock.pauseStartMilliseconds;
}
