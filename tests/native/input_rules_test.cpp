#include "host/input_rules.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(MouseTravel, ToleratesFourPixelsInTotalAndEndsTheRunFromFive) {
    const ScreenPoint reference = {640, 360};
    EXPECT_FALSE(mouseTravelEndsRun(reference, {642, 362}));   // 2 right and 2 down
    EXPECT_FALSE(mouseTravelEndsRun(reference, {636, 360}));
    EXPECT_FALSE(mouseTravelEndsRun(reference, {640, 360}));
    EXPECT_TRUE(mouseTravelEndsRun(reference, {642, 363}));
    EXPECT_TRUE(mouseTravelEndsRun(reference, {635, 360}));
    EXPECT_TRUE(mouseTravelEndsRun(reference, {637, 358}));    // 3 left and 2 up
}

TEST(MouseTravel, NeverOverflowsAtTheEdgesOfTheCoordinateRange) {
    const ScreenPoint low = {INT32_MIN, INT32_MIN};
    const ScreenPoint high = {INT32_MAX, INT32_MAX};
    EXPECT_EQ(2ull * 0xFFFFFFFFull, mouseTravel(low, high));
    EXPECT_TRUE(mouseTravelEndsRun(low, high));
    EXPECT_TRUE(mouseTravelEndsRun(high, low));
    EXPECT_FALSE(mouseTravelEndsRun(high, {INT32_MAX - 2, INT32_MAX - 2}));
}

// Only the saver's own screens and windows answer to input: the daemon's window and the desktop's
// background belong to someone else, and a window of its own ends on q or Escape alone.
TEST(InputRules, WhatEndsEachKindOfRun) {
    struct Case {
        DrawTarget target;
        bool anyKey, quitKey, press, travel;
    };
    const Case cases[] = {
        {DrawTarget::FullScreen, true, true, true, true},
        {DrawTarget::OwnWindow, false, true, false, false},
        {DrawTarget::GivenWindow, false, false, false, false},
        {DrawTarget::RootWindow, false, false, false, false},
        {DrawTarget::Background, false, false, false, false},
    };
    for (const Case& c : cases) {
        const int target = static_cast<int>(c.target);
        EXPECT_EQ(c.anyKey, keyEndsRun(c.target, false)) << target;
        EXPECT_EQ(c.quitKey, keyEndsRun(c.target, true)) << target;
        EXPECT_EQ(c.press, pressEndsRun(c.target)) << target;
        EXPECT_EQ(c.travel, pointerTravelCounts(c.target)) << target;
    }
}
