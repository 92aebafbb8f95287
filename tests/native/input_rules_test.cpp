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
