#include "scene/pitch_director.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/random_generator.h"
#include "settings/saver_settings.h"
#include "tests/native/scene_at_run_start.h"

class Pitch : public SceneAtRunStart {};

static const double kPi = 3.141592653589793;

TEST_F(Pitch, BottomUpEasesToMinus90OverTheFirstTenSeconds) {
    startInitialTransition(BottomUp, 0.0f);
    updatePitch(BottomUp, 0.0f);
    EXPECT_FLOAT_EQ(0.0f, currentPitch);
    updatePitch(BottomUp, 2.5f);                                  // u = 0.25
    EXPECT_NEAR(-90.0 * (1 - std::cos(kPi / 4)) / 2, currentPitch, 1e-4);
    updatePitch(BottomUp, 5.0f);                                  // u = 0.5: the mean
    EXPECT_FLOAT_EQ(-45.0f, currentPitch);
    updatePitch(BottomUp, 10.0f);
    EXPECT_FLOAT_EQ(-90.0f, currentPitch);
    updatePitch(BottomUp, 500.0f);
    EXPECT_FLOAT_EQ(-90.0f, currentPitch);                        // and stays
}

TEST_F(Pitch, AFramePastTheEndKeepsItsOwnValueAHairShortOfTheTarget) {
    startInitialTransition(TopDown, 0.0f);
    updatePitch(TopDown, 9.0f);
    updatePitch(TopDown, 10.5f);
    const float ended = currentPitch;
    EXPECT_NEAR(45.0 + 45.0 * std::cos(0.05 * kPi), ended, 1e-4);
    EXPECT_LT(ended, 90.0f);
    updatePitch(TopDown, 30.0f);
    EXPECT_EQ(ended, currentPitch);
}

TEST_F(Pitch, FrontOnAndUnknownModesNeverMove) {
    startInitialTransition(FrontOn, 0.0f);
    for (float t = 0.0f; t < 300.0f; t += 0.25f) updatePitch(FrontOn, t);
    EXPECT_EQ(0.0f, currentPitch);
}

TEST_F(Pitch, AnUnknownModeDrawsNoRandomNumbers) {
    skyfold::srand(5);
    const int first = skyfold::rand();
    skyfold::srand(5);
    startInitialTransition(7, 0.0f);
    for (float t = 0.0f; t < 300.0f; t += 0.25f) updatePitch(7, t);
    EXPECT_EQ(0.0f, currentPitch);
    EXPECT_EQ(first, skyfold::rand());
}

// Simulates a random-mode run at 10 frames a second; returns the first time the pitch moved.
static float firstMovement(uint32_t seed) {
    skyfold::srand(seed);
    startInitialTransition(Random, 0.0f);
    for (int frame = 0; frame < 2000; ++frame) {
        const float t = frame * 0.1f;
        updatePitch(Random, t);
        if (currentPitch != 0.0f) return t;
    }
    return -1.0f;
}

TEST_F(Pitch, RandomModeNeverMovesBeforeFifteenSeconds) {
    const float moved = firstMovement(11u);
    EXPECT_TRUE(moved < 0.0f || moved > 15.0f) << moved;
}

TEST_F(Pitch, RandomModeHoldsBottomUpFrontOnAndTopDownInTheRatio1To2To1) {
    skyfold::srand(99);
    startInitialTransition(Random, 0.0f);
    double atBottom = 0, atFront = 0, atTop = 0;
    const double step = 0.1;
    for (long frame = 0; frame < 4000000; ++frame) {   // about 4.6 days of running
        updatePitch(Random, static_cast<float>(frame * step));
        if (std::fabs(currentPitch + 90.0f) < 1.0f) atBottom += step;
        else if (std::fabs(currentPitch) < 1.0f) atFront += step;
        else if (std::fabs(currentPitch - 90.0f) < 1.0f) atTop += step;
    }
    const double settled = atBottom + atFront + atTop;
    EXPECT_NEAR(0.25, atBottom / settled, 0.04);
    EXPECT_NEAR(0.50, atFront / settled, 0.04);
    EXPECT_NEAR(0.25, atTop / settled, 0.04);
}
