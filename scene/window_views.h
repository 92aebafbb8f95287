// The views of one window that may span several monitors (the Windows saver's window over the
// virtual screen, X11's full-screen window over the screen): a sky of its own in each monitor's
// part of the window, drawn within its own viewport and scissor, and black where no monitor shows
// the window. A window on one monitor that fills it is one view, drawn call for call as a window
// of one scene always was. The platform finds the monitors and presents the frame.
#pragma once

#include <cstdint>

#include "scene/view_layout.h"

// Lays the window's views out over the monitors (rectangles in the window's pixels from its top
// left corner; none gives one view of the whole window). The first call starts the views, the
// first of which continues the scene just started; later calls keep the views that stay, each in
// its monitor's new place and size with its banner kept against the right edge, start a sky of its
// own for each monitor added and let the views of monitors removed go.
void layOutWindowViews(const PixelRect* monitors, int monitorCount, int32_t windowWidth,
                       int32_t windowHeight, double nowSeconds, double cpuSeconds);

// Called inside each view after its frame is drawn, with the view's size in viewWidth and
// viewHeight (the frame-rate display and its meter).
typedef void (*ViewFrameFinish)();

// One frame of every view into the back buffer: each view's clock, frame and finish. The caller
// presents it. With several views the window is cleared once, the scissor test is on during each
// view's frame and off again after the last.
void drawWindowViews(ViewFrameFinish finish);

// Lets every view go; the next layOutWindowViews starts afresh.
void endWindowViews();
