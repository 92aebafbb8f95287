// The view the scene draws next: its place and size in pixels, set at creation and again whenever
// the window is resized or another view of the run takes its turn, and whether this is a preview,
// fixed at creation.
#pragma once

#include <cstdint>

// The view's lower left corner in its surface: 0, 0 but in a window that shows a view per monitor.
extern int32_t viewX;        // pixels from the surface's left edge
extern int32_t viewY;        // pixels from the surface's bottom edge
extern int32_t viewWidth;    // pixels
extern int32_t viewHeight;   // pixels
extern bool scenePreview;    // copy of the host's preview flag; no banner in preview
