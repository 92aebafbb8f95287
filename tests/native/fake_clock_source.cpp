// Time sources of the native test build: whatever the test last put in fakeClock.
#include "tests/native/fake_clock_source.h"

#include "scene/clock_source.h"

FakeClock fakeClock = {true, 1000000, 0, 0};

bool clockCounterFrequency(int64_t* ticksPerSecond) {
    if (!fakeClock.hasCounter) return false;
    *ticksPerSecond = fakeClock.ticksPerSecond;
    return true;
}

int64_t clockCounterValue() { return fakeClock.counter; }

uint32_t clockMilliseconds() { return fakeClock.milliseconds; }
