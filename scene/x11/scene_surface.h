// The scene's entry points on X11: it draws on a window that the host gives it (its own, the root
// window, or the one xscreensaver made), with a GLX context made from that window's own visual.
// The host runs the loop and calls drawSceneFrame back to back. X11 only.
#pragma once
#ifdef _WIN32
#error "scene/x11/scene_surface.h belongs to the X11 scene"
#endif

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

// The visual for a window the host makes itself: double-buffered RGBA with a 16-bit depth buffer,
// as the scene asks of every surface. Null after the failure has been reported. XFree it.
XVisualInfo* chooseSceneVisual(Display* display, int screen);

// Builds the scene on the window: GLX context, settings, render state, every texture and display
// list, projection and clock. False after the failure has been reported; the caller ends with 1.
bool createScene(Display* display, Window window);

// One frame: the clock, drawFrame, then the buffers swapped.
void drawSceneFrame();

// The window now has this size; the next frame fills it.
void resizeScene(int32_t width, int32_t height);

// Releases the textures and lists in their order, then the context.
void destroyScene();

// True once the scene has asked for the run to end (quitSceneRun).
bool sceneQuitRequested();
