// The view the scene draws next: its size in pixels, set at creation and again whenever the window
// is resized or another view of the run takes its turn, and whether this is a preview, fixed at
// creation.
#pragma once

#include <cstdint>

extern int32_t viewWidth;    // pixels
extern int32_t viewHeight;   // pixels
extern bool scenePreview;    // copy of the host's preview flag; no banner in preview
