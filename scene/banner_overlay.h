// The translucent banner drawn over the finished frame in window pixels (full-screen runs only).
#pragma once

// Compiles the banner list: the 256 x 32 quad with its own state changes.
void compileBannerList();

// Animates the banner and draws it; leaves an orthographic projection of the window's pixels.
void drawBanner();
