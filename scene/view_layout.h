// Where the views of one window lie when the window spans several monitors (the Windows saver's
// window over the virtual screen, X11's full-screen window over the screen): each monitor's part
// of the window becomes a view, and what no monitor shows is left to be cleared black. Pure
// arithmetic; the platform finds the monitors.
#pragma once

#include <cstdint>

const int kMostWindowViews = 16;  // monitors of one window

struct PixelRect {
    int32_t x;       // pixels from the left edge
    int32_t y;       // pixels from the top edge for a monitor, from the bottom edge for a view
    int32_t width;   // pixels
    int32_t height;  // pixels
};

struct ViewLayout {
    int count;                              // 1 or more
    PixelRect views[kMostWindowViews];      // GL's window coordinates: y from the bottom edge
    bool fillsWindow;                       // one view, and it is the whole window
    bool leavesGaps;                        // some pixel of the window lies in no view
    bool overlaps;                          // some pixel lies in two views
};

// The views for the monitors, given in the window's pixels from its top left corner, in the order
// the window system lists them. Each is cut to the window; one that shows nothing of the window,
// or only what an earlier one shows already (a mirrored monitor), gets no view. No monitor at all
// gives one view of the whole window.
ViewLayout layOutViews(const PixelRect* monitors, int monitorCount, int32_t windowWidth,
                       int32_t windowHeight);
