// Where the translucent banner is: it slides in at the bottom or top edge, rests 15 seconds,
// slides out, stays away 30 seconds and comes back at the other edge, flush left or right.
// Window pixels, origin bottom-left. No drawing here.
#pragma once

#include <cstdint>

const float kBannerWidthPixels = 256.0f;
const float kBannerHeightPixels = 32.0f;

struct BannerPlacement {
    float x;  // left edge
    float y;  // bottom edge
};

// A banner that has not appeared yet, its first slide timed from the given moment (frameTime at
// scene creation), whatever an earlier start of the scene left.
void startBanner(float frameTimeSeconds);

// Advances the banner to frameTimeSeconds for a view of the given size; returns where to draw it.
BannerPlacement advanceBanner(float frameTimeSeconds, int32_t viewWidthPixels,
                              int32_t viewHeightPixels);

// The view has changed from oldWidthPixels to newWidthPixels wide: a banner flush right stays
// flush right.
void keepBannerInView(int32_t oldWidthPixels, int32_t newWidthPixels);

// The banner's whole state. A scene drawn on several views at once (a Wayland run's monitors)
// gives each view a banner of its own by exchanging this around the view's frame.
struct BannerState {
    float bannerX;
    float bannerY;
    float phaseStart;  // seconds: when the next slide begins
    bool isLeaving;
    bool atTopEdge;
    bool isPlaced;
};

// A banner that has not appeared yet, timed from the given moment (as startBanner times it).
BannerState freshBannerState(float frameTimeSeconds);

// Makes next the banner that advanceBanner moves and returns the one it replaces.
BannerState exchangeBannerState(const BannerState& next);
