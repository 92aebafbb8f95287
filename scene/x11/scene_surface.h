// The scene's entry points on X11: it draws on a window that the host gives it (its own, the root
// window, or the one xscreensaver made), with a GLX context made from that window's own visual.
// The host runs the loop, waits for events until the next frame is due and calls drawSceneFrame
// then. X11 only.
#pragma once
#ifdef _WIN32
#error "scene/x11/scene_surface.h belongs to the X11 scene"
#endif

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

#include "scene/frame_pacing.h"        // SceneFrameOptions
#include "scene/unix/scene_report.h"  // sceneQuitRequested

// The visual for a window the host makes itself: double-buffered RGBA with a 16-bit depth buffer,
// as the scene asks of every surface. Null after the failure has been reported. XFree it.
XVisualInfo* chooseSceneVisual(Display* display, int screen);


// Builds the scene on the window: GLX context with a swap interval of 1 where the driver offers
// one (0 for an unpaced run), settings, render state, every texture and display list, projection,
// clock and pacing. False after the failure has been reported; the caller ends with 1.
bool createScene(Display* display, Window window, const SceneFrameOptions& frames);

// Seconds until the next frame is due; 0 when it is due now.
double sceneSecondsUntilNextFrame();

// One frame: each view's clock, drawFrame and frame rate where it is shown, then the buffers
// swapped.
void drawSceneFrame();

// The window now has this size; the next frame fills it.
void resizeScene(int32_t width, int32_t height);

// The window lies over the whole screen (a full-screen run): from now on it shows a sky of its own
// in each monitor's part of it (RandR 1.5's monitors, else Xinerama's heads, else the whole window)
// and black where no monitor shows it. Other windows keep one view.
void showViewPerMonitor();

// The screen's monitors may have changed (RandR's screen change, or the root window's configure
// that follows a monitor set or deleted): they are read again, and the views laid out anew.
void sceneMonitorsChanged();

// Releases the textures and lists in their order, then the context.
void destroyScene();
