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
