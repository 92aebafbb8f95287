// The numbers of the frame-rate display (--fps): frames per second and the share of one core the
// program used, both over the last second, as the two lines of text drawn in the corner. Updated
// once a second; platform-free (the platform hands in its clocks' readings).
#pragma once

const int kFrameRateTextBytes = 48;

typedef double (*CpuSecondsReading)();

// Starts the first second at nowSeconds; until it is over the text is empty.
void startFrameRateMeter(double nowSeconds, double cpuSeconds);

// Counts one presented frame. Once a second has passed it reads the process's CPU time (only
// then) and renews the text.
void countMeteredFrame(double nowSeconds, CpuSecondsReading cpuSeconds);

// "FPS: 59.9\nCPU: 12%": lines separated by '\n'; empty before the first second is over.
const char* frameRateText();

// The meter's whole state. A scene drawn on several views at once gives each view its own rate by
// exchanging this around the view's frame.
struct FrameRateMeterState {
    double secondStartSeconds;
    double cpuSecondsAtStart;
    long frames;  // presented since the second began
    char text[kFrameRateTextBytes];
};

// A meter whose first second starts at nowSeconds, as startFrameRateMeter starts one.
FrameRateMeterState freshFrameRateMeter(double nowSeconds, double cpuSeconds);

// Makes next the meter that countMeteredFrame counts on and returns the one it replaces.
FrameRateMeterState exchangeFrameRateMeter(const FrameRateMeterState& next);
