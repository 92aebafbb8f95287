// The frame-rate display's arithmetic. CPU time is read once a second, not once a frame: the
// reading is a system call, and the meter must cost next to nothing beside the frame it measures.
#include "scene/frame_rate_meter.h"

#include <cstdio>

static FrameRateMeterState gMeter;

static const double kMeterPeriodSeconds = 1.0;
static const double kPercentPerShare = 100.0;

FrameRateMeterState freshFrameRateMeter(double nowSeconds, double cpuSeconds) {
    FrameRateMeterState meter = {};
    meter.secondStartSeconds = nowSeconds;
    meter.cpuSecondsAtStart = cpuSeconds;
    return meter;
}

void startFrameRateMeter(double nowSeconds, double cpuSeconds) {
    gMeter = freshFrameRateMeter(nowSeconds, cpuSeconds);
}

void countMeteredFrame(double nowSeconds, CpuSecondsReading cpuSeconds) {
    ++gMeter.frames;
    const double elapsed = nowSeconds - gMeter.secondStartSeconds;
    if (elapsed < kMeterPeriodSeconds) return;
    const double cpuNow = cpuSeconds();
    const double coreShare = (cpuNow - gMeter.cpuSecondsAtStart) / elapsed;
    std::snprintf(gMeter.text, sizeof gMeter.text, "FPS: %.1f\nCPU: %.0f%%",
                  static_cast<double>(gMeter.frames) / elapsed, coreShare * kPercentPerShare);
    gMeter.secondStartSeconds = nowSeconds;
    gMeter.cpuSecondsAtStart = cpuNow;
    gMeter.frames = 0;
}

const char* frameRateText() {
    return gMeter.text;
}

FrameRateMeterState exchangeFrameRateMeter(const FrameRateMeterState& next) {
    const FrameRateMeterState previous = gMeter;
    gMeter = next;
    return previous;
}
