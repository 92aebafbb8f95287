#include "scene/frame_clock.h"

#include <gtest/gtest.h>

#include "tests/native/fake_clock_source.h"

class FrameClock : public ::testing::Test {
protected:
    void SetUp() override {
        frameTime = 0.0f;
        frameDelta = 0.0f;
    }
};

TEST_F(FrameClock, FirstDeltaIsTheWholeTimeSinceTheStart) {
    fakeClock = {true, 1000000, 5000000000LL, 0};  // a counter that has been running for a while
    startFrameClock();
    EXPECT_EQ(0.0f, frameTime);
    fakeClock.counter += 2500000;                  // 2.5 s of loading-free waiting
    advanceFrameClock();
    EXPECT_FLOAT_EQ(2.5f, frameTime);
    EXPECT_FLOAT_EQ(2.5f, frameDelta);
    fakeClock.counter += 16000;
    advanceFrameClock();
    EXPECT_FLOAT_EQ(2.516f, frameTime);
    EXPECT_NEAR(0.016f, frameDelta, 1e-6f);
}

TEST_F(FrameClock, DeltaIsTakenAgainstThePreviousSinglePrecisionTime) {
    fakeClock = {true, 3, 0, 0};                   // 1/3 s a tick: not exact in binary
    startFrameClock();
    fakeClock.counter = 1;
    advanceFrameClock();
    const float first = frameTime;
    fakeClock.counter = 2;
    advanceFrameClock();
    EXPECT_EQ(static_cast<float>(readFrameClock() - first), frameDelta);
}

TEST_F(FrameClock, FallsBackToMillisecondsWithMillisecondResolution) {
    fakeClock = {false, 0, 0, 700};
    startFrameClock();
    fakeClock.milliseconds = 1700;
    advanceFrameClock();
    EXPECT_FLOAT_EQ(1.0f, frameTime);
    EXPECT_FLOAT_EQ(1.0f, frameDelta);
    advanceFrameClock();                           // same millisecond: no time has passed
    EXPECT_NEAR(0.0f, frameDelta, 1e-6f);          // (only the rounding of 0.001 to single)
    fakeClock.milliseconds = 1701;
    advanceFrameClock();
    EXPECT_NEAR(0.001f, frameDelta, 1e-6f);
}

TEST_F(FrameClock, MillisecondCountWrapsWithoutAJump) {
    fakeClock = {false, 0, 0, 0xFFFFFF00u};        // 256 ms before the wrap
    startFrameClock();
    fakeClock.milliseconds = 0x00000100u;          // 512 ms after the start
    EXPECT_NEAR(0.512, readFrameClock(), 1e-6);
}

TEST_F(FrameClock, NeverRebasesSoItsStepGrowsWithTheRunTime) {
    fakeClock = {true, 4096, 0, 0};                // a tick of 1/4096 s is exact in binary
    startFrameClock();
    fakeClock.counter = 8192LL * 4096 + 1;         // 8192 s and a quarter millisecond
    advanceFrameClock();
    EXPECT_EQ(8192.0f, frameTime);                 // the step of a float here is about 1 ms
    EXPECT_GT(readFrameClock(), 8192.0);
}
