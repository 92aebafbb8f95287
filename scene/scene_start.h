// The platform-free part of the scene's creation, shared by every surface: once a platform has
// made its rendering context current and set the view's size, these steps run in this order. And
// what follows a view that a platform lets change size (a window on X11, the browser's canvas).
#pragma once

#include <cstdint>

// Seeds the random sequence with the calendar time, reads the settings, copies the host's preview
// flag, sets the render state and builds every texture and list, sets the projection and starts
// the frame clock.
void startScene();

// The view is now width x height pixels: the banner keeps its place against the right edge and the
// projection list is compiled anew, for the next frame.
void resizeSceneView(int32_t width, int32_t height);
