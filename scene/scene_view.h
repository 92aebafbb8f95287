// What scene creation fixes about the view for the whole run: the saver window's client size and
// whether this is a preview. Taken once and never updated.
#pragma once

#include <cstdint>

extern int32_t viewWidth;    // pixels
extern int32_t viewHeight;   // pixels
extern bool scenePreview;    // copy of the host's preview flag; no banner in preview
