// The translucent banner drawn over the finished frame in banner pixels (full-screen runs only):
// the window's own pixels, or in the browser CSS pixels, so that it looks the same at any device
// pixel ratio.
#pragma once

#include <cstdint>

// Compiles the banner list: the 256 x 32 quad with its own state changes.
void compileBannerList();

// View pixels per banner pixel: 1 until set, the device pixel ratio in the browser. A banner flush
// with the view's right edge stays flush with it.
void setBannerScale(float viewPixelsPerBannerPixel);

// The view is now newWidthPixels wide instead of oldWidthPixels: a banner flush with its right
// edge stays flush with it.
void keepBannerOverlayInView(int32_t oldWidthPixels, int32_t newWidthPixels);

// Animates the banner and draws it; leaves an orthographic projection of the window's pixels.
void drawBanner();
