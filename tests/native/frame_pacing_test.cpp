#include "scene/frame_pacing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/frame_rate_meter.h"
#include "scene/power_supplies.h"

static PacingConditions display(double hertz) {
    return PacingConditions{hertz, false, kNoFrameRateCeiling, true};
}

TEST(FramePacing, AimsForTheDisplaysRateUnlessItIsUnknownOrAbsurd) {
    EXPECT_DOUBLE_EQ(144.0, targetFramesPerSecond(display(144.0)));
    EXPECT_DOUBLE_EQ(59.94, targetFramesPerSecond(display(59.94)));
    for (double reported : {0.0, -60.0, 1000.5, 1e9, std::nan("")}) {
        EXPECT_DOUBLE_EQ(60.0, targetFramesPerSecond(display(reported))) << reported;
    }
}

TEST(FramePacing, BatteryAndTheUsersCeilingLowerTheRateAndZeroUnpacesIt) {
    PacingConditions conditions = display(144.0);
    conditions.onBattery = true;
    EXPECT_DOUBLE_EQ(30.0, targetFramesPerSecond(conditions));
    conditions.frameRateCeiling = 20;
    EXPECT_DOUBLE_EQ(20.0, targetFramesPerSecond(conditions));
    conditions.onBattery = false;
    conditions.frameRateCeiling = 500;  // a ceiling above the display's rate changes nothing
    EXPECT_DOUBLE_EQ(144.0, targetFramesPerSecond(conditions));
    conditions.frameRateCeiling = kUnpacedFrameRate;
    EXPECT_DOUBLE_EQ(0.0, targetFramesPerSecond(conditions));
    startFramePacing(conditions, 5.0);
    frameBegins(5.0);
    framePresented(5.001);
    EXPECT_EQ(0.0, secondsUntilNextFrame(5.001));
}

TEST(FramePacing, FramesFallDueOnAGridThatALateFrameDoesNotShift) {
    const double period = 1.0 / 50.0;
    startFramePacing(display(50.0), 10.0);
    EXPECT_EQ(0.0, secondsUntilNextFrame(10.0));  // the first frame at once
    frameBegins(10.0);
    framePresented(10.002);
    EXPECT_NEAR(period - 0.002, secondsUntilNextFrame(10.002), 1e-9);
    frameBegins(10.0 + period + 0.005);           // 5 ms late
    framePresented(10.0 + period + 0.007);
    EXPECT_NEAR(period - 0.007, secondsUntilNextFrame(10.0 + period + 0.007), 1e-9);
    frameBegins(10.5);                            // far behind: the grid starts afresh
    EXPECT_NEAR(period, secondsUntilNextFrame(10.5), 1e-9);
    setPacingOnBattery(true);                     // 50 Hz on battery: 30 frames a second
    frameBegins(10.5 + period);
    EXPECT_NEAR(1.0 / 30.0, secondsUntilNextFrame(10.5 + period), 1e-9);
}

// Runs frames back to back for a second of display time, each taking frameSeconds from its start
// to its presentation, the pump waiting whenever it is told to; returns the frames drawn.
static int framesInOneSecond(double frameSeconds) {
    double now = 0.0;
    int frames = 0;
    while (now < 1.0) {
        now += secondsUntilNextFrame(now);
        frameBegins(now);
        now += frameSeconds;
        framePresented(now);
        ++frames;
    }
    return frames;
}

TEST(FramePacing, TheClockPacesUnlessFrameTimesShowThatTheSwapWaits) {
    startFramePacing(display(60.0), 0.0);
    EXPECT_LE(framesInOneSecond(0.002), 61);      // a swap that returns at once: the clock paces
    EXPECT_FALSE(swapWaitsForDisplay());

    startFramePacing(display(60.0), 0.0);
    framesInOneSecond(1.0 / 60.0);                // every swap waited for the next refresh
    EXPECT_TRUE(swapWaitsForDisplay());

    PacingConditions refused = display(60.0);     // the driver refused the swap interval
    refused.swapCanWait = false;
    startFramePacing(refused, 0.0);
    framesInOneSecond(1.0 / 60.0);
    EXPECT_FALSE(swapWaitsForDisplay());
}

TEST(FramePacing, ASlowRendererThatLooksLikeAWaitingSwapStaysNearTheRate) {
    startFramePacing(display(60.0), 0.0);
    framesInOneSecond(0.0145);                   // 87 % of a refresh, but no swap waits
    ASSERT_TRUE(swapWaitsForDisplay());
    EXPECT_LE(framesInOneSecond(0.0145), 64);     // the safety net holds it
}

TEST(PowerSupplies, OnlyASystemBatteryWithNothingElseOnlineMeansBattery) {
    const PowerSupply laptopOnBattery[] = {{"Mains", "0", "", ""}, {"Battery", "", "1", ""}};
    const PowerSupply laptopCharging[] = {{"Battery", "", "1", ""}, {"Mains", "1", "", ""}};
    const PowerSupply usbCharger[] = {{"Battery", "", "1", "System"}, {"USB", "1", "", ""}};
    const PowerSupply desktopWithMouse[] = {{"Battery", "", "1", "Device"}};
    const PowerSupply batteryRemoved[] = {{"Battery", "", "0", ""}, {"Mains", "0", "", ""}};
    const PowerSupply unreadable[] = {{nullptr, nullptr, nullptr, nullptr}};
    EXPECT_TRUE(runsOnBattery(laptopOnBattery, 2));
    EXPECT_FALSE(runsOnBattery(laptopCharging, 2));
    EXPECT_FALSE(runsOnBattery(usbCharger, 2));
    EXPECT_FALSE(runsOnBattery(desktopWithMouse, 1));
    EXPECT_FALSE(runsOnBattery(batteryRemoved, 2));
    EXPECT_FALSE(runsOnBattery(unreadable, 1));
    EXPECT_FALSE(runsOnBattery(nullptr, 0));     // a machine that lists no supply at all
}

static int gCpuReadings;
static double quarterCoreCpu() {
    ++gCpuReadings;
    return 100.25;
}

TEST(FrameRateMeter, ShowsFramesAndCoreShareOfTheLastSecondReadingCpuTimeOnceASecond) {
    gCpuReadings = 0;
    startFrameRateMeter(3.0, 100.0);
    for (int frame = 1; frame < 60; ++frame) countMeteredFrame(3.0 + frame / 60.0, quarterCoreCpu);
    EXPECT_STREQ("", frameRateText());
    EXPECT_EQ(0, gCpuReadings);
    countMeteredFrame(4.0, quarterCoreCpu);
    EXPECT_STREQ("FPS: 60.0\nCPU: 25%", frameRateText());
    EXPECT_EQ(1, gCpuReadings);
}

// A Wayland surface is offered one frame a refresh: all are drawn at the display's rate; under a
// lower target the offers in between wait until the grid makes them due, and an offer that comes
// just before its due time (callbacks jitter) is drawn at once.
TEST(FramePacing, OfferedFramesAreDrawnOnTheTargetsGrid) {
    OfferedFramePacing pacing = {};
    EXPECT_EQ(0.0, secondsUntilOfferedFrame(pacing, 60.0, 60.0, 1.0));
    EXPECT_EQ(0.0, secondsUntilOfferedFrame(pacing, 0.0, 60.0, 1.0));  // unpaced
    const double refresh = 1.0 / 60.0;
    int drawn = 0;
    double waited = 0.0;
    for (int offer = 0; offer < 60; ++offer) {  // one second of offers, each 0.3 ms late
        const double now = 2.0 + offer * refresh + 0.0003;
        const double wait = secondsUntilOfferedFrame(pacing, 30.0, 60.0, now);
        if (wait > 0.0) {
            waited += wait;
            continue;
        }
        offeredFrameDrawn(&pacing, 30.0, now);
        ++drawn;
    }
    EXPECT_EQ(30, drawn);
    EXPECT_GT(waited, 0.0);
    // A surface that offered nothing for a while (hidden) starts a fresh grid, with no burst.
    offeredFrameDrawn(&pacing, 30.0, 9.0);
    EXPECT_NEAR(1.0 / 30.0, secondsUntilOfferedFrame(pacing, 30.0, 60.0, 9.0), 1e-9);
}
