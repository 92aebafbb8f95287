// Waiting for frames of the real scene in-process: every presented frame publishes a new
// frameTime, so a change of it is one frame.
#pragma once

#include <windows.h>

#include "scene/frame_clock.h"
#include "tests/win32/win32_test_support.h"

class FrameCounter {
public:
    // Notes a new frame if one was presented since the last call; true once `frames` were seen.
    bool reached(int frames) {
        if (frameTime != last_) {
            last_ = frameTime;
            ++seen_;
        }
        return seen_ >= frames;
    }

private:
    float last_ = frameTime;
    int seen_ = 0;
};

// Pumps this thread's messages until the scene has presented `frames` more frames.
inline bool pumpFrames(int frames, DWORD timeoutMilliseconds = kWaitMilliseconds) {
    FrameCounter counter;
    return pumpUntil([&counter, frames] { return counter.reached(frames); }, timeoutMilliseconds);
}
