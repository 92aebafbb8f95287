// Monitors' covers. A layer surface draws from its first configure on, at the monitor's size
// times its scale, so that a scaled monitor gets a sharp picture. The compositor configures a
// surface again whenever it rearranges the monitors, so configure is made to be repeated; a new
// scale is applied as soon as the monitor or the compositor tells it.
#include "host/wayland/monitor_surfaces.h"

#include "host/unix/run_control.h"
#include "host/wayland/monitor_list.h"
#include "host/wayland/own_window.h"
#include "host/wayland/surface_scale.h"
#include "host/wayland/wayland_globals.h"
#include "scene/wayland/scene_surface.h"

struct Cover {
    wl_surface* surface;
    zwlr_layer_surface_v1* layer;
    OwnWindow* window;      // instead of a layer, without layer shell
    SurfaceScale scale;
    int32_t logicalWidth;   // from the last configure; 0 before the first
    int32_t logicalHeight;
    WaylandView* view;      // null until the first configure, or when it could not be made
    bool closed;            // the compositor closed it: made again once
    bool remade;
};

static struct {
    bool covering;
    DrawTarget target;
    bool layerShell;
    bool anyMayDraw;  // what the last visit of the monitors found
    Cover covers[kMostMonitors];  // by monitor slot
} gCovers;

static const char kLayerNamespace[] = "skyfold";
static const int32_t kExclusiveZoneIgnored = -1;  // over panels, not beside them

static Cover* coverOf(const Monitor* monitor) {
    return &gCovers.covers[monitor->slot];
}

static bool covered(const Cover* cover) {
    return cover->surface || cover->window;
}

// ---- the layer surface -------------------------------------------------------------------------

static void releaseCover(Cover* cover) {
    if (cover->view) removeWaylandView(cover->view);
    if (cover->layer) zwlr_layer_surface_v1_destroy(cover->layer);
    detachSurfaceScale(&cover->scale);
    if (cover->surface) wl_surface_destroy(cover->surface);
    if (cover->window) closeOwnWindow(cover->window);
    const bool remade = cover->remade;
    *cover = Cover{};
    cover->remade = remade;
}

static wl_region* newRegion() {
    return wl_compositor_create_region(waylandGlobals().compositor);
}

// The whole surface is opaque: the compositor need not draw what lies under it.
static void markOpaque(wl_surface* surface, int32_t width, int32_t height) {
    wl_region* opaque = newRegion();
    wl_region_add(opaque, 0, 0, width, height);
    wl_surface_set_opaque_region(surface, opaque);
    wl_region_destroy(opaque);
}

// A wallpaper takes no input: the pointer and clicks over it reach the desktop, and the
// desktop's cursor stays.
static void passInputThrough(wl_surface* surface) {
    wl_region* none = newRegion();
    wl_surface_set_input_region(surface, none);
    wl_region_destroy(none);
}

static void showAtSize(Cover* cover, const Monitor* monitor) {
    const BufferSize buffer =
        applySurfaceScale(&cover->scale, cover->logicalWidth, cover->logicalHeight);
    markOpaque(cover->surface, cover->logicalWidth, cover->logicalHeight);
    if (cover->view) {
        resizeWaylandView(cover->view, buffer.width, buffer.height);
        return;
    }
    settleRunIsPreview(buffer.width);
    cover->view = addWaylandView(cover->surface, buffer.width, buffer.height,
                                 monitor->refreshHertz);
    if (!cover->view && !waylandSceneStarted()) failWaylandRun();
}

static void onLayerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                             uint32_t width, uint32_t height) {
    Monitor* monitor = static_cast<Monitor*>(data);
    Cover* cover = coverOf(monitor);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (width == 0 || height == 0) return;  // anchored to every edge: never asked to choose
    cover->logicalWidth = static_cast<int32_t>(width);
    cover->logicalHeight = static_cast<int32_t>(height);
    showAtSize(cover, monitor);
}

// The compositor took the surface away. Its monitor may be going (then its global goes next);
// otherwise the surface is made again on the next turn of the loop.
static void onLayerClosed(void* data, zwlr_layer_surface_v1*) {
    Cover* cover = coverOf(static_cast<Monitor*>(data));
    releaseCover(cover);
    cover->closed = true;
}

static const zwlr_layer_surface_v1_listener kLayerListener = {onLayerConfigure, onLayerClosed};

static void onScaleChanged(void* data) {
    Monitor* monitor = static_cast<Monitor*>(data);
    Cover* cover = coverOf(monitor);
    if (cover->surface && cover->logicalWidth > 0) showAtSize(cover, monitor);
}

static void addLayer(Monitor* monitor, Cover* cover) {
    const WaylandGlobals& globals = waylandGlobals();
    const bool overlay = gCovers.target == DrawTarget::FullScreen;
    cover->surface = wl_compositor_create_surface(globals.compositor);
    attachSurfaceScale(&cover->scale, cover->surface, onScaleChanged, monitor);
    setIntegerScale(&cover->scale, monitor->scale);
    if (!overlay) passInputThrough(cover->surface);
    cover->layer = zwlr_layer_shell_v1_get_layer_surface(
        globals.layerShell, cover->surface, monitor->output,
        overlay ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND,
        kLayerNamespace);
    zwlr_layer_surface_v1_add_listener(cover->layer, &kLayerListener, monitor);
    zwlr_layer_surface_v1_set_size(cover->layer, 0, 0);  // with every anchor: the whole monitor
    zwlr_layer_surface_v1_set_anchor(
        cover->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                          ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                          ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(cover->layer, kExclusiveZoneIgnored);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        cover->layer, overlay ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                              : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(cover->surface);  // no buffer yet: asks for the first configure
}

// ---- the monitors ------------------------------------------------------------------------------

static void coverMonitor(Monitor* monitor) {
    Cover* cover = coverOf(monitor);
    if (!gCovers.covering || !monitor->described) return;
    if (covered(cover)) {
        setIntegerScale(&cover->scale, monitor->scale);
        if (cover->view) setWaylandViewRefresh(cover->view, monitor->refreshHertz);
        return;
    }
    if (gCovers.layerShell) addLayer(monitor, cover);
    else cover->window = openOwnWindow(0, 0, monitor->output);
}

void coverMonitors(DrawTarget target, bool layerShell) {
    gCovers.covering = true;
    gCovers.target = target;
    gCovers.layerShell = layerShell;
    followMonitors(coverMonitor);
    visitMonitors(coverMonitor);
}

// Its cover goes whole, with the mark that it was made again: a monitor plugged in again later
// starts afresh.
static void releaseMonitorCover(Monitor* monitor) {
    releaseCover(coverOf(monitor));
    *coverOf(monitor) = Cover{};
}

void uncoverMonitor(uint32_t globalName) {
    Monitor* monitor = monitorNamed(globalName);
    if (!monitor) return;
    releaseMonitorCover(monitor);
    forgetMonitor(monitor);
}

static void remakeIfClosed(Monitor* monitor) {
    Cover* cover = coverOf(monitor);
    if (!cover->closed || cover->remade) return;
    cover->closed = false;
    cover->remade = true;
    coverMonitor(monitor);
}

void remakeClosedCovers() {
    visitMonitors(remakeIfClosed);
}

// A monitor may still be drawn on while it is being described, while its cover waits for its
// first configure or draws, and while a closed cover waits to be made again.
static bool mayDraw(const Monitor* monitor) {
    const Cover* cover = coverOf(monitor);
    if (cover->window) return ownWindowMayDraw(cover->window);
    if (cover->surface) {
        return cover->logicalWidth == 0 || (cover->view && !waylandViewLost(cover->view));
    }
    return !monitor->described || (cover->closed && !cover->remade);
}

static void noteIfMayDraw(Monitor* monitor) {
    gCovers.anyMayDraw = gCovers.anyMayDraw || mayDraw(monitor);
}

bool monitorsMayDraw() {
    gCovers.anyMayDraw = false;
    visitMonitors(noteIfMayDraw);
    return gCovers.anyMayDraw;
}

void releaseMonitorCovers() {
    visitMonitors(releaseMonitorCover);
    forgetMonitors();
    gCovers.covering = false;
}
