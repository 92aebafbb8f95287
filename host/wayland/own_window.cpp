// The window of its own on Wayland. The compositor sizes it (a tiling one fills its space with it,
// a full-screen one the monitor); a configure of 0 x 0 leaves the choice to the program, which
// keeps the size it asked for. Its buffer follows the scale of the monitor it last entered, and the
// compositor draws its frame where it offers to (xdg-decoration).
#include "host/wayland/own_window.h"

#include <cstdio>

#include "host/unix/saver_run.h"
#include "host/wayland/monitor_surfaces.h"
#include "host/wayland/saver_run.h"
#include "host/wayland/wayland_globals.h"
#include "scene/wayland/scene_surface.h"

static struct {
    wl_surface* surface;
    xdg_surface* shellSurface;
    xdg_toplevel* toplevel;
    zxdg_toplevel_decoration_v1* decoration;
    int32_t askedWidth, askedHeight;      // logical pixels, kept while the compositor leaves it
    int32_t pendingWidth, pendingHeight;  // from the last toplevel configure; 0 leaves the choice
    int32_t scale;
    double refreshHertz;
    WaylandView* view;
} gWindow;

static const char kWindowTitle[] = "Skyfold";
static const char kApplicationId[] = "skyfold";

// ---- configure ---------------------------------------------------------------------------------

static void showAtSize() {
    const int32_t width = gWindow.pendingWidth > 0 ? gWindow.pendingWidth : gWindow.askedWidth;
    const int32_t height = gWindow.pendingHeight > 0 ? gWindow.pendingHeight : gWindow.askedHeight;
    const int32_t pixelsWide = width * gWindow.scale;
    const int32_t pixelsHigh = height * gWindow.scale;
    wl_surface_set_buffer_scale(gWindow.surface, gWindow.scale);
    if (gWindow.view) {
        resizeWaylandView(gWindow.view, pixelsWide, pixelsHigh);
        return;
    }
    setRunIsPreview(viewIsPreviewPane(pixelsWide));
    gWindow.view = addWaylandView(gWindow.surface, pixelsWide, pixelsHigh, gWindow.refreshHertz);
    if (!gWindow.view) failWaylandRun();
}

static void onShellSurfaceConfigure(void*, xdg_surface* shellSurface, uint32_t serial) {
    xdg_surface_ack_configure(shellSurface, serial);
    showAtSize();
}

static const xdg_surface_listener kShellSurfaceListener = {onShellSurfaceConfigure};

static void onToplevelConfigure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    gWindow.pendingWidth = width;
    gWindow.pendingHeight = height;
}

static void onToplevelClose(void*, xdg_toplevel*) {
    endWaylandRun();
}

// Bound at version 3: the bounds and capabilities events (versions 4 and 5) never come.
static const xdg_toplevel_listener kToplevelListener = {onToplevelConfigure, onToplevelClose,
                                                        nullptr, nullptr};

// ---- the monitor it is on ----------------------------------------------------------------------

// The surface entered a monitor: its buffer takes that monitor's scale and pacing its rate.
static void onSurfaceEnter(void*, wl_surface*, wl_output* output) {
    gWindow.refreshHertz = monitorRefreshHertz(output);
    if (gWindow.view) setWaylandViewRefresh(gWindow.view, gWindow.refreshHertz);
    const int32_t scale = monitorScale(output);
    if (scale == gWindow.scale) return;
    gWindow.scale = scale;
    if (gWindow.view) showAtSize();
}

static void onSurfaceLeave(void*, wl_surface*, wl_output*) {}

static const wl_surface_listener kSurfaceListener = {onSurfaceEnter, onSurfaceLeave};

// ---- the window --------------------------------------------------------------------------------

// A frame drawn by the compositor, where it offers one; GNOME's draws none for a program that
// does not draw its own, and the window then has no frame.
static void askForFrame() {
    zxdg_decoration_manager_v1* decorations = waylandGlobals().decorations;
    if (!decorations) return;
    gWindow.decoration = zxdg_decoration_manager_v1_get_toplevel_decoration(decorations,
                                                                            gWindow.toplevel);
    zxdg_toplevel_decoration_v1_set_mode(gWindow.decoration,
                                         ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
}

bool openOwnWindow(int32_t widthPixels, int32_t heightPixels, bool fullScreen) {
    const WaylandGlobals& globals = waylandGlobals();
    if (!globals.windowManager) {
        std::fprintf(stderr, "skyfold: the Wayland compositor offers no windows (xdg_wm_base)\n");
        return false;
    }
    gWindow.askedWidth = widthPixels;
    gWindow.askedHeight = heightPixels;
    gWindow.scale = 1;
    gWindow.surface = wl_compositor_create_surface(globals.compositor);
    wl_surface_add_listener(gWindow.surface, &kSurfaceListener, nullptr);
    gWindow.shellSurface = xdg_wm_base_get_xdg_surface(globals.windowManager, gWindow.surface);
    xdg_surface_add_listener(gWindow.shellSurface, &kShellSurfaceListener, nullptr);
    gWindow.toplevel = xdg_surface_get_toplevel(gWindow.shellSurface);
    xdg_toplevel_add_listener(gWindow.toplevel, &kToplevelListener, nullptr);
    xdg_toplevel_set_title(gWindow.toplevel, kWindowTitle);
    xdg_toplevel_set_app_id(gWindow.toplevel, kApplicationId);
    if (fullScreen) xdg_toplevel_set_fullscreen(gWindow.toplevel, nullptr);
    else askForFrame();
    wl_surface_commit(gWindow.surface);  // no buffer yet: asks for the first configure
    return true;
}

void closeOwnWindow() {
    if (gWindow.view) removeWaylandView(gWindow.view);
    if (gWindow.decoration) zxdg_toplevel_decoration_v1_destroy(gWindow.decoration);
    if (gWindow.toplevel) xdg_toplevel_destroy(gWindow.toplevel);
    if (gWindow.shellSurface) xdg_surface_destroy(gWindow.shellSurface);
    if (gWindow.surface) wl_surface_destroy(gWindow.surface);
    gWindow = {};
}
