// The scene's entry points on Wayland: one EGL context (desktop OpenGL, compatibility profile) on
// the host's connection, drawn on one view per surface that the host makes (each monitor's layer
// surface, or a window of its own). A view draws only when its surface's frame callback has come,
// so a hidden monitor costs nothing and never holds up the others. The host runs the loop and
// calls drawDueWaylandViews when the scene says a view is due. Wayland only.
#pragma once
#ifdef _WIN32
#error "scene/wayland/scene_surface.h belongs to the Wayland scene"
#endif

#include <wayland-client.h>

#include <cstdint>

#include "scene/frame_pacing.h"        // SceneFrameOptions
#include "scene/unix/scene_report.h"  // sceneQuitRequested

struct WaylandView;  // a surface's EGL surface, frame callback, pacing, size and banner

// The EGL display, config (exactly 8 bits of red, green and blue and no alpha, so the translucent
// banner never lets the desktop through) and context on the connection. The scene itself is
// built on the first view. False after the failure has been reported; the run ends with 1.
bool createWaylandScene(wl_display* display, const SceneFrameOptions& frames);

// Draws on the surface from now on, at the given size in buffer pixels; refreshHertz is its
// monitor's rate (0 when unknown). The first view builds the scene. Null after the failure has
// been reported.
WaylandView* addWaylandView(wl_surface* surface, int32_t widthPixels, int32_t heightPixels,
                            double refreshHertz);

// The surface's buffer is now this size; its next frame fills it.
void resizeWaylandView(WaylandView* view, int32_t widthPixels, int32_t heightPixels);

// Its monitor's refresh rate changed (or became known).
void setWaylandViewRefresh(WaylandView* view, double refreshHertz);

// Stops drawing on the surface and frees what the view made; the host then destroys the surface.
void removeWaylandView(WaylandView* view);

// True once the first view has built the scene.
bool waylandSceneStarted();

// True once the view's surface could no longer be made current (reported on stderr then).
bool waylandViewLost(const WaylandView* view);

// Seconds until a view is due: 0 when one is due now, negative when every view waits for its
// surface's frame callback (the loop then waits on the connection alone).
double secondsUntilWaylandFrame();

// Draws each view that is due: the clock, drawFrame at the view's size with its banner, the frame
// rate where it is shown, the next frame callback asked for, then the buffers swapped.
void drawDueWaylandViews();

// Releases the textures and lists in their order, on a view that can still be made current; the
// host then removes the views with their surfaces.
void releaseWaylandSceneResources();

// Releases the context and the EGL display, and any view still left.
void destroyWaylandScene();
