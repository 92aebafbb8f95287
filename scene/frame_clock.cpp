// The frame clock: the performance counter where there is one, else the millisecond clock, read
// once a frame. Only the published values are single precision; readings are taken in double.
#include "scene/frame_clock.h"

#include <cstdint>
#include <cstring>

#include "scene/clock_source.h"

static struct {
    bool usesPerformanceCounter;
    int64_t startCount;           // counter ticks
    uint32_t startMilliseconds;   // millisecond clock, fallback only
    float secondsPerTick;
    float previousFrameTime;      // seconds; 0 before the first frame
} gClock;

static const float kSecondsPerMillisecond = 0.001f;

float frameTime = 0.0f;
float frameDelta = 0.0f;

void startFrameClock() {
    std::memset(&gClock, 0, sizeof gClock);
    int64_t ticksPerSecond = 0;
    if (clockCounterFrequency(&ticksPerSecond)) {
        gClock.startCount = clockCounterValue();
        gClock.secondsPerTick = static_cast<float>(1.0 / static_cast<double>(ticksPerSecond));
        gClock.usesPerformanceCounter = true;
    } else {
        gClock.usesPerformanceCounter = false;
        gClock.startMilliseconds = clockMilliseconds();
        gClock.secondsPerTick = kSecondsPerMillisecond;
    }
}

double readFrameClock() {
    if (gClock.usesPerformanceCounter) {
        const int64_t elapsedTicks = clockCounterValue() - gClock.startCount;
        return static_cast<double>(elapsedTicks) * gClock.secondsPerTick;
    }
    // Unsigned subtraction absorbs one wrap of the 32-bit millisecond count.
    const uint32_t elapsedMilliseconds = clockMilliseconds() - gClock.startMilliseconds;
    return static_cast<double>(elapsedMilliseconds) * gClock.secondsPerTick;
}

void advanceFrameClock() {
    const double reading = readFrameClock();
    frameTime = static_cast<float>(reading);
    frameDelta = static_cast<float>(reading - gClock.previousFrameTime);
    gClock.previousFrameTime = frameTime;
}

float exchangePreviousFrameTime(float next) {
    const float previous = gClock.previousFrameTime;
    gClock.previousFrameTime = next;
    return previous;
}
