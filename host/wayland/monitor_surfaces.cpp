// Monitors and their layer surfaces. A monitor is covered once the compositor has described it
// (wl_output.done); its surface draws from its first configure on, at the monitor's size times its
// scale, so that a scale-2 monitor gets a sharp picture. The compositor configures a surface again
// whenever it rearranges the monitors, so configure is made to be repeated.
#include "host/wayland/monitor_surfaces.h"

#include "host/unix/saver_run.h"
#include "host/wayland/saver_run.h"
#include "host/wayland/wayland_globals.h"
#include "scene/wayland/scene_surface.h"

struct Monitor {
    bool inUse;
    uint32_t globalName;
    wl_output* output;
    int32_t scale;
    double refreshHertz;  // of the current mode
    bool described;       // its first done event came
    wl_surface* surface;
    zwlr_layer_surface_v1* layer;
    WaylandView* view;    // null until the first configure
};

static const int kMostMonitors = 16;

static struct {
    bool covering;
    DrawTarget target;
    bool sceneBuilt;  // a view exists or existed: later failures leave one monitor bare
    Monitor monitors[kMostMonitors];
} gMonitors;

static const uint32_t kOutputVersion = 2;   // scale and done
static const char kLayerNamespace[] = "skyfold";
static const double kMillihertzPerHertz = 1000.0;
static const int32_t kExclusiveZoneIgnored = -1;  // over panels, not beside them

static Monitor* monitorOf(const wl_output* output) {
    for (Monitor& monitor : gMonitors.monitors) {
        if (monitor.inUse && monitor.output == output) return &monitor;
    }
    return nullptr;
}

int32_t monitorScale(const wl_output* output) {
    const Monitor* monitor = monitorOf(output);
    return monitor ? monitor->scale : 1;
}

double monitorRefreshHertz(const wl_output* output) {
    const Monitor* monitor = monitorOf(output);
    return monitor ? monitor->refreshHertz : 0.0;
}

// ---- the layer surface -------------------------------------------------------------------------

static void releaseSurface(Monitor* monitor) {
    if (monitor->view) removeWaylandView(monitor->view);
    if (monitor->layer) zwlr_layer_surface_v1_destroy(monitor->layer);
    if (monitor->surface) wl_surface_destroy(monitor->surface);
    monitor->view = nullptr;
    monitor->layer = nullptr;
    monitor->surface = nullptr;
}

// The whole surface is opaque: the compositor need not draw what lies under it.
static void markOpaque(wl_surface* surface, int32_t width, int32_t height) {
    wl_region* opaque = wl_compositor_create_region(waylandGlobals().compositor);
    wl_region_add(opaque, 0, 0, width, height);
    wl_surface_set_opaque_region(surface, opaque);
    wl_region_destroy(opaque);
}

// The first view builds the scene; if it cannot, the run cannot draw at all.
static void makeView(Monitor* monitor, int32_t width, int32_t height) {
    if (!gMonitors.sceneBuilt) setRunIsPreview(viewIsPreviewPane(width));
    monitor->view = addWaylandView(monitor->surface, width, height, monitor->refreshHertz);
    if (monitor->view) gMonitors.sceneBuilt = true;
    else if (!gMonitors.sceneBuilt) failWaylandRun();
}

static void onLayerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                             uint32_t width, uint32_t height) {
    Monitor* monitor = static_cast<Monitor*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (width == 0 || height == 0) return;  // anchored to every edge: never asked to choose
    const int32_t scale = monitor->scale;
    const int32_t pixelsWide = static_cast<int32_t>(width) * scale;
    const int32_t pixelsHigh = static_cast<int32_t>(height) * scale;
    wl_surface_set_buffer_scale(monitor->surface, scale);
    markOpaque(monitor->surface, static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (monitor->view) resizeWaylandView(monitor->view, pixelsWide, pixelsHigh);
    else makeView(monitor, pixelsWide, pixelsHigh);
}

// The compositor took the surface away (its monitor is going): the others go on.
static void onLayerClosed(void* data, zwlr_layer_surface_v1*) {
    releaseSurface(static_cast<Monitor*>(data));
}

static const zwlr_layer_surface_v1_listener kLayerListener = {onLayerConfigure, onLayerClosed};

static void coverMonitor(Monitor* monitor) {
    const WaylandGlobals& globals = waylandGlobals();
    if (monitor->surface || !monitor->described || !globals.layerShell) return;
    const bool overlay = gMonitors.target == DrawTarget::FullScreen;
    monitor->surface = wl_compositor_create_surface(globals.compositor);
    monitor->layer = zwlr_layer_shell_v1_get_layer_surface(
        globals.layerShell, monitor->surface, monitor->output,
        overlay ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND,
        kLayerNamespace);
    zwlr_layer_surface_v1_add_listener(monitor->layer, &kLayerListener, monitor);
    zwlr_layer_surface_v1_set_size(monitor->layer, 0, 0);  // with every anchor: the whole monitor
    zwlr_layer_surface_v1_set_anchor(
        monitor->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                            ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                            ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(monitor->layer, kExclusiveZoneIgnored);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        monitor->layer, overlay ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                                : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(monitor->surface);  // no buffer yet: asks for the first configure
}

void coverMonitors(DrawTarget target) {
    gMonitors.covering = true;
    gMonitors.target = target;
    for (Monitor& monitor : gMonitors.monitors) {
        if (monitor.inUse) coverMonitor(&monitor);
    }
}

// ---- the monitor -------------------------------------------------------------------------------

static void onGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                       const char*, int32_t) {}

static void onMode(void* data, wl_output*, uint32_t flags, int32_t, int32_t, int32_t millihertz) {
    Monitor* monitor = static_cast<Monitor*>(data);
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    monitor->refreshHertz = millihertz / kMillihertzPerHertz;
    if (monitor->view) setWaylandViewRefresh(monitor->view, monitor->refreshHertz);
}

static void onScale(void* data, wl_output*, int32_t factor) {
    static_cast<Monitor*>(data)->scale = factor > 0 ? factor : 1;
}

// The description is complete: cover the monitor if the run covers monitors. A new scale reaches
// the surface with its next configure, which sway sends after every such change.
static void onDone(void* data, wl_output*) {
    Monitor* monitor = static_cast<Monitor*>(data);
    monitor->described = true;
    if (gMonitors.covering) coverMonitor(monitor);
}

// Bound at version 2: the name and description events (version 4) never come.
static const wl_output_listener kOutputListener = {onGeometry, onMode, onDone, onScale, nullptr,
                                                   nullptr};

void addMonitor(wl_registry* registry, uint32_t name, uint32_t version) {
    for (Monitor& monitor : gMonitors.monitors) {
        if (monitor.inUse) continue;
        monitor = Monitor{};
        monitor.inUse = true;
        monitor.globalName = name;
        monitor.scale = 1;
        monitor.output = static_cast<wl_output*>(wl_registry_bind(
            registry, name, &wl_output_interface, version < kOutputVersion ? version : kOutputVersion));
        // A first-version monitor sends no done event: it is described as soon as it is bound.
        monitor.described = version < WL_OUTPUT_DONE_SINCE_VERSION;
        wl_output_add_listener(monitor.output, &kOutputListener, &monitor);
        if (gMonitors.covering) coverMonitor(&monitor);
        return;
    }
}

static void letGo(Monitor* monitor) {
    releaseSurface(monitor);
    if (wl_output_get_version(monitor->output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(monitor->output);
    } else {
        wl_output_destroy(monitor->output);
    }
    *monitor = Monitor{};
}

bool removeMonitor(uint32_t name) {
    for (Monitor& monitor : gMonitors.monitors) {
        if (monitor.inUse && monitor.globalName == name) {
            letGo(&monitor);
            return true;
        }
    }
    return false;
}

void releaseMonitors() {
    for (Monitor& monitor : gMonitors.monitors) {
        if (monitor.inUse) letGo(&monitor);
    }
    gMonitors.covering = false;
}
