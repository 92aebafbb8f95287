// A controllable stand-in for the platform's time sources, linked into the native tests.
#pragma once

#include <cstdint>

struct FakeClock {
    bool hasCounter;
    int64_t ticksPerSecond;
    int64_t counter;
    uint32_t milliseconds;
};

extern FakeClock fakeClock;
