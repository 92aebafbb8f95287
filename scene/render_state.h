// The scene's fixed OpenGL state, the numbering of its display lists and texture slots, the view
// projection, and the composition of one frame.
#pragma once

#include <cstdint>

const unsigned int kBannerList = 11;      // the banner quad with its own state changes
const unsigned int kProjectionList = 12;  // viewport, perspective projection, identity model-view
const unsigned int kLastDisplayList = 12;  // lists 1 to 10 are the notes

// Sets the fixed state once and builds every texture and display list.
void initRenderState();

// Viewport and perspective projection for a view of the given pixel size at the view's place
// (viewX, viewY).
void setViewProjection(int32_t width, int32_t height);

// Recompiles the projection list for the view's present size, after the view was resized or
// another view took its turn.
void rebuildViewProjection();

// Composes one frame; the caller presents it.
void drawFrame();

// The same frame without its clear, for a view whose part of the window was cleared together with
// the other views' parts.
void drawFrameOnCleared();

// Deletes every texture slot and display list; the rendering context must still be current.
void releaseSceneResources();
