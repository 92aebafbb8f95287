// Windows on Wayland. The compositor sizes a window (a tiling one fills its space with it, a
// full-screen one the monitor); a configure of 0 x 0 leaves the choice to the program, which keeps
// the size it asked for. Its buffer follows the scale of the monitor it last entered, and the
// compositor draws its frame where it offers to (xdg-decoration).
#include "host/wayland/own_window.h"

#include <cstdio>

#include "host/unix/run_control.h"
#include "host/wayland/monitor_list.h"
#include "host/wayland/surface_scale.h"
#include "host/wayland/wayland_globals.h"
#include "scene/wayland/scene_surface.h"

struct OwnWindow {
    bool inUse;
    wl_surface* surface;
    xdg_surface* shellSurface;
    xdg_toplevel* toplevel;
    zxdg_toplevel_decoration_v1* decoration;
    int32_t askedWidth, askedHeight;      // logical pixels, kept while the compositor leaves it
    int32_t pendingWidth, pendingHeight;  // from the last toplevel configure; 0 leaves the choice
    bool configured;                      // its first configure came
    double refreshHertz;
    SurfaceScale scale;
    WaylandView* view;
};

static struct {
    OwnWindow windows[kMostMonitors];
} gWindows;


// ---- configure ---------------------------------------------------------------------------------

static void showAtSize(OwnWindow* window) {
    const int32_t width = window->pendingWidth > 0 ? window->pendingWidth : window->askedWidth;
    const int32_t height = window->pendingHeight > 0 ? window->pendingHeight : window->askedHeight;
    const BufferSize buffer = applySurfaceScale(&window->scale, width, height);
    if (window->view) {
        resizeWaylandView(window->view, buffer.width, buffer.height);
        return;
    }
    settleRunIsPreview(buffer.width);
    window->view = addWaylandView(window->surface, buffer.width, buffer.height,
                                  window->refreshHertz);
    if (!window->view && !waylandSceneStarted()) failWaylandRun();
}

static void onScaleChanged(void* data) {
    OwnWindow* window = static_cast<OwnWindow*>(data);
    if (window->configured) showAtSize(window);
}

static void onShellSurfaceConfigure(void* data, xdg_surface* shellSurface, uint32_t serial) {
    OwnWindow* window = static_cast<OwnWindow*>(data);
    xdg_surface_ack_configure(shellSurface, serial);
    window->configured = true;
    showAtSize(window);
}

static const xdg_surface_listener kShellSurfaceListener = {onShellSurfaceConfigure};

static void onToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height,
                                wl_array*) {
    OwnWindow* window = static_cast<OwnWindow*>(data);
    window->pendingWidth = width;
    window->pendingHeight = height;
}

static void onToplevelClose(void*, xdg_toplevel*) {
    endWaylandRun();
}

// Bound at version 3: the bounds and capabilities events (versions 4 and 5) never come.
static const xdg_toplevel_listener kToplevelListener = {onToplevelConfigure, onToplevelClose,
                                                        nullptr, nullptr};

// ---- the monitor it is on ----------------------------------------------------------------------

// The surface entered a monitor: its buffer takes that monitor's scale and pacing its rate.
static void onSurfaceEnter(void* data, wl_surface*, wl_output* output) {
    OwnWindow* window = static_cast<OwnWindow*>(data);
    const Monitor* monitor = monitorOf(output);
    if (!monitor) return;
    window->refreshHertz = monitor->refreshHertz;
    if (window->view) setWaylandViewRefresh(window->view, window->refreshHertz);
    setIntegerScale(&window->scale, monitor->scale);
}

static void onSurfaceLeave(void*, wl_surface*, wl_output*) {}

static const wl_surface_listener kSurfaceListener = {onSurfaceEnter, onSurfaceLeave};

// ---- the window --------------------------------------------------------------------------------

// A frame drawn by the compositor, where it offers one; GNOME's draws none for a program that
// does not draw its own, and the window then has no frame.
static void askForFrame(OwnWindow* window) {
    zxdg_decoration_manager_v1* decorations = waylandGlobals().decorations;
    if (!decorations) return;
    window->decoration =
        zxdg_decoration_manager_v1_get_toplevel_decoration(decorations, window->toplevel);
    zxdg_toplevel_decoration_v1_set_mode(window->decoration,
                                         ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
}

static OwnWindow* freeWindow() {
    for (OwnWindow& window : gWindows.windows) {
        if (!window.inUse) return &window;
    }
    return nullptr;
}

static void makeToplevel(OwnWindow* window, wl_output* fullScreenOn) {
    const WaylandGlobals& globals = waylandGlobals();
    window->surface = wl_compositor_create_surface(globals.compositor);
    wl_surface_add_listener(window->surface, &kSurfaceListener, window);
    attachSurfaceScale(&window->scale, window->surface, onScaleChanged, window);
    window->shellSurface = xdg_wm_base_get_xdg_surface(globals.windowManager, window->surface);
    xdg_surface_add_listener(window->shellSurface, &kShellSurfaceListener, window);
    window->toplevel = xdg_surface_get_toplevel(window->shellSurface);
    xdg_toplevel_add_listener(window->toplevel, &kToplevelListener, window);
    xdg_toplevel_set_title(window->toplevel, kWindowTitle);
    xdg_toplevel_set_app_id(window->toplevel, kApplicationId);
    if (fullScreenOn) xdg_toplevel_set_fullscreen(window->toplevel, fullScreenOn);
    else askForFrame(window);
    wl_surface_commit(window->surface);  // no buffer yet: asks for the first configure
}

OwnWindow* openOwnWindow(int32_t widthPixels, int32_t heightPixels, wl_output* fullScreenOn) {
    if (!waylandGlobals().windowManager) {
        std::fprintf(stderr, "skyfold: the Wayland compositor offers no windows (xdg_wm_base)\n");
        return nullptr;
    }
    OwnWindow* window = freeWindow();
    if (!window) return nullptr;
    *window = OwnWindow{};
    window->inUse = true;
    window->askedWidth = widthPixels;
    window->askedHeight = heightPixels;
    makeToplevel(window, fullScreenOn);
    return window;
}

bool ownWindowMayDraw(const OwnWindow* window) {
    return !window->configured || (window->view && !waylandViewLost(window->view));
}

void closeOwnWindow(OwnWindow* window) {
    if (window->view) removeWaylandView(window->view);
    if (window->decoration) zxdg_toplevel_decoration_v1_destroy(window->decoration);
    if (window->toplevel) xdg_toplevel_destroy(window->toplevel);
    if (window->shellSurface) xdg_surface_destroy(window->shellSurface);
    detachSurfaceScale(&window->scale);
    if (window->surface) wl_surface_destroy(window->surface);
    *window = OwnWindow{};
}

void closeOwnWindows() {
    for (OwnWindow& window : gWindows.windows) {
        if (window.inUse) closeOwnWindow(&window);
    }
}
