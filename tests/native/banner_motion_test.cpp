#include "scene/banner_motion.h"

#include <gtest/gtest.h>

#include "scene/random_generator.h"
#include "tests/native/scene_at_run_start.h"

class Banner : public SceneAtRunStart {};

static const int32_t kWidth = 1280;
static const int32_t kHeight = 720;

// Runs the banner at 60 frames a second up to `until` and returns where it was last drawn.
static BannerPlacement runUntil(long& frame, float until, int32_t width = kWidth,
                                int32_t height = kHeight) {
    BannerPlacement at = {0, 0};
    for (; frame / 60.0 <= until; ++frame) {
        at = advanceBanner(static_cast<float>(frame / 60.0), width, height);
    }
    return at;
}

TEST_F(Banner, FollowsItsHundredSecondTimeline) {
    skyfold::srand(3);
    startBanner(0.0f);
    long clock = 0;
    BannerPlacement at = runUntil(clock, 0.5f);
    EXPECT_GT(at.y, -35.0f);                                  // sliding in at the bottom
    EXPECT_LT(at.y, 5.0f);
    EXPECT_EQ(kWidth - 256.0f, at.x);                        // first appearance flush right
    at = runUntil(clock, 10.0f);
    EXPECT_NEAR(5.0f, at.y, 0.5f);                            // at rest
    at = runUntil(clock, 16.5f);
    EXPECT_LT(at.y, 5.0f);                                    // sliding out
    EXPECT_GT(at.y, -35.0f);
    at = runUntil(clock, 30.0f);
    EXPECT_NEAR(-35.0f, at.y, 0.5f);                          // hidden below the edge
    at = runUntil(clock, 47.5f);
    EXPECT_GT(at.y, kHeight - 40.0f);                         // sliding in at the top
    EXPECT_LT(at.y, static_cast<float>(kHeight));
    EXPECT_TRUE(at.x == 0.0f || at.x == kWidth - 256.0f);
    at = runUntil(clock, 60.0f);
    EXPECT_NEAR(kHeight - 40.0f, at.y, 0.5f);
    at = runUntil(clock, 80.0f);
    EXPECT_NEAR(static_cast<float>(kHeight), at.y, 0.5f);     // hidden above the edge
    at = runUntil(clock, 94.5f);
    EXPECT_LT(at.y, 5.0f);                                    // the bottom edge again
    EXPECT_GT(at.y, -35.0f);
}

TEST_F(Banner, AlternatesEdgesStrictlyAndDrawsOnceAfterEachSlideOut) {
    skyfold::srand(41);
    startBanner(0.0f);
    long clock = 0;
    for (int appearance = 0; appearance < 20; ++appearance) {
        const float restAt = appearance * 47.0f + 8.0f;        // mid-rest, with slack for timing
        const BannerPlacement at = runUntil(clock, restAt);
        const bool top = appearance % 2 == 1;
        EXPECT_NEAR(top ? kHeight - 40.0f : 5.0f, at.y, 0.5f) << appearance;
    }
}

TEST_F(Banner, ConsumesExactlyOneRandomValueForEachSlideOut) {
    skyfold::srand(1234);
    startBanner(0.0f);
    long clock = 0;
    runUntil(clock, 100.0f);                                  // slide outs at 17 and 64
    const int afterRun = skyfold::rand();
    skyfold::srand(1234);
    skyfold::rand();
    skyfold::rand();
    EXPECT_EQ(skyfold::rand(), afterRun);
}

TEST_F(Banner, ANarrowViewPutsTheFlushRightBannerPartlyOffTheLeft) {
    startBanner(0.0f);
    long clock = 0;
    EXPECT_EQ(-56.0f, runUntil(clock, 2.0f, 200, 150).x);
}

TEST_F(Banner, AFlushRightBannerStaysFlushRightWhenTheViewIsResized) {
    startBanner(0.0f);
    long clock = 0;
    runUntil(clock, 2.0f);
    keepBannerInView(kWidth, 800);
    EXPECT_EQ(800 - 256.0f, runUntil(clock, 4.0f, 800, 600).x);
}

// The page starts its scene again when its settings change: the banner then comes in as at a run's
// start, whatever the last run's banner was doing.
TEST_F(Banner, AStartAgainBeginsAtTheBottomFlushRightWhateverTheLastRunLeft) {
    long clock = 0;
    runUntil(clock, 55.0f, 800, 600);                         // at rest at the top of a smaller view
    startBanner(0.0f);
    clock = 0;
    const BannerPlacement at = runUntil(clock, 0.5f);
    EXPECT_LT(at.y, 5.0f);
    EXPECT_GT(at.y, -35.0f);
    EXPECT_EQ(kWidth - 256.0f, at.x);
}
