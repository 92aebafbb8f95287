// The frame clock's time sources on Win32: the performance counter, and the multimedia
// millisecond clock for machines without one.
#include <windows.h>
#include <mmsystem.h>

#include "scene/clock_source.h"

bool clockCounterFrequency(int64_t* ticksPerSecond) {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return false;
    *ticksPerSecond = frequency.QuadPart;
    return true;
}

int64_t clockCounterValue() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

uint32_t clockMilliseconds() {
    return timeGetTime();
}
