// The banner's timeline: four phases (slide in, rest, slide out, hidden), each timed from the
// first frame that reaches its start. One random draw after each slide out picks the next side.
#include "scene/banner_motion.h"

#include <cmath>

#include "scene/random_generator.h"

static BannerState gBanner = {0.0f, 5.0f, 0.0f, false, false, false};

static const float kSlideSeconds = 1.0f;
static const float kSlideTravelPixels = 40.0f;
static const float kBottomRestPixels = 5.0f;   // margin under the banner at the bottom edge
static const float kRestSeconds = 15.0f;
static const float kHiddenExtraSeconds = 15.0f;  // added to the rest time: 30 s away in all
static const double kQuarterTurnRadians = 1.5707963267948966;

BannerState freshBannerState(float frameTimeSeconds) {
    return {0.0f, kBottomRestPixels, frameTimeSeconds, false, false, false};
}

// A scene started again in the same process (the page, when its settings change) shows its banner
// as a first run does: sliding in at the bottom, flush right.
void startBanner(float frameTimeSeconds) {
    gBanner = freshBannerState(frameTimeSeconds);
}

BannerState exchangeBannerState(const BannerState& next) {
    const BannerState previous = gBanner;
    gBanner = next;
    return previous;
}

// Bottom edge of the banner part-way (progress 0 to 1) through the running slide.
static float slidingY(float progress, int32_t viewHeightPixels) {
    const float top = static_cast<float>(viewHeightPixels);
    const float travel = kSlideTravelPixels;
    if (!gBanner.atTopEdge) {
        return gBanner.isLeaving ? kBottomRestPixels - travel * progress
                                 : kBottomRestPixels - travel * (1.0f - progress);
    }
    return gBanner.isLeaving ? (top - travel) + travel * progress : top - travel * progress;
}

static void finishSlide(float frameTimeSeconds, int32_t viewWidthPixels) {
    gBanner.phaseStart = frameTimeSeconds + kRestSeconds;
    gBanner.isLeaving = !gBanner.isLeaving;
    if (gBanner.isLeaving) return;
    // It has just slid out: pick the side for the next appearance and change edges.
    gBanner.bannerX = skyfold::rand() % 2 == 0
                          ? 0.0f
                          : static_cast<float>(viewWidthPixels) - kBannerWidthPixels;
    gBanner.atTopEdge = !gBanner.atTopEdge;
    gBanner.phaseStart += kHiddenExtraSeconds;
}

BannerPlacement advanceBanner(float frameTimeSeconds, int32_t viewWidthPixels,
                              int32_t viewHeightPixels) {
    if (!gBanner.isPlaced) {
        gBanner.isPlaced = true;
        gBanner.bannerX = static_cast<float>(viewWidthPixels) - kBannerWidthPixels;
    }
    const float elapsed = frameTimeSeconds - gBanner.phaseStart;
    if (elapsed > 0.0f) {
        const float progress = static_cast<float>(std::sin(elapsed * kQuarterTurnRadians));
        gBanner.bannerY = slidingY(progress, viewHeightPixels);
        if (elapsed >= kSlideSeconds) finishSlide(frameTimeSeconds, viewWidthPixels);
    }
    return {gBanner.bannerX, gBanner.bannerY};
}

void keepBannerInView(int32_t oldWidthPixels, int32_t newWidthPixels) {
    if (!gBanner.isPlaced) return;
    if (gBanner.bannerX == static_cast<float>(oldWidthPixels) - kBannerWidthPixels) {
        gBanner.bannerX = static_cast<float>(newWidthPixels) - kBannerWidthPixels;
    }
}
