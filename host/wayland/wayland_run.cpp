// The Wayland run: binds the compositor's globals, covers the monitors (or opens a window of its
// own), and loops: it draws the views that are due, then sleeps on the connection until the next
// view is due, the compositor says something, or a signal comes. Signals are blocked outside that
// sleep, which unblocks them itself (ppoll), so one is never missed between a check and the wait.
#include "host/wayland/wayland_run.h"

#include <poll.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/unix/run_control.h"
#include "host/wayland/monitor_list.h"
#include "host/wayland/monitor_surfaces.h"
#include "host/wayland/own_window.h"
#include "host/wayland/saver_lock.h"
#include "host/wayland/seat_input.h"
#include "host/wayland/wayland_globals.h"
#include "scene/wayland/scene_surface.h"

static struct {
    wl_display* display;
    wl_registry* registry;
    DrawTarget target;
    OwnWindow* window;  // a window of its own, when the run does not cover the monitors
    sigset_t waitMask;  // the signal mask while sleeping: the run's signals unblocked
} gRun;

static const int kEndedExitCode = 0;
static const int kFailedExitCode = 1;
static const uint32_t kCompositorVersion = 4;
static const uint32_t kLayerShellVersion = 4;  // KWin offers 3, which does all the run asks
static const uint32_t kWindowManagerVersion = 3;
static const uint32_t kDecorationVersion = 1;
static const uint32_t kFractionalScaleVersion = 1;
static const uint32_t kViewporterVersion = 1;
static const double kNanosecondsPerSecond = 1e9;

// ---- globals -----------------------------------------------------------------------------------

static void onPing(void*, xdg_wm_base* windowManager, uint32_t serial) {
    xdg_wm_base_pong(windowManager, serial);
}

static const xdg_wm_base_listener kWindowManagerListener = {onPing};

template <typename Proxy>
static Proxy* bindGlobal(uint32_t name, const wl_interface* interface, uint32_t offered,
                         uint32_t highest) {
    return static_cast<Proxy*>(
        wl_registry_bind(gRun.registry, name, interface, offered < highest ? offered : highest));
}

static void bindCompositor(uint32_t name, uint32_t version) {
    waylandGlobals().compositor = bindGlobal<wl_compositor>(name, &wl_compositor_interface, version,
                                                        kCompositorVersion);
}

static void bindLayerShell(uint32_t name, uint32_t version) {
    waylandGlobals().layerShell = bindGlobal<zwlr_layer_shell_v1>(name, &zwlr_layer_shell_v1_interface,
                                                              version, kLayerShellVersion);
}

static void bindWindowManager(uint32_t name, uint32_t version) {
    waylandGlobals().windowManager = bindGlobal<xdg_wm_base>(name, &xdg_wm_base_interface, version,
                                                         kWindowManagerVersion);
    xdg_wm_base_add_listener(waylandGlobals().windowManager, &kWindowManagerListener, nullptr);
}

static void bindDecorations(uint32_t name, uint32_t version) {
    waylandGlobals().decorations = bindGlobal<zxdg_decoration_manager_v1>(
        name, &zxdg_decoration_manager_v1_interface, version, kDecorationVersion);
}

static void bindFractionalScales(uint32_t name, uint32_t version) {
    waylandGlobals().fractionalScales = bindGlobal<wp_fractional_scale_manager_v1>(
        name, &wp_fractional_scale_manager_v1_interface, version, kFractionalScaleVersion);
}

static void bindViewporter(uint32_t name, uint32_t version) {
    waylandGlobals().viewporter =
        bindGlobal<wp_viewporter>(name, &wp_viewporter_interface, version, kViewporterVersion);
}

static void bindMonitor(uint32_t name, uint32_t version) {
    addMonitor(gRun.registry, name, version);
}

static void bindRunSeat(uint32_t name, uint32_t version) {
    bindSeat(gRun.registry, name, version, gRun.target);
}

struct GlobalRoute {
    const wl_interface* interface;
    void (*bind)(uint32_t name, uint32_t version);
};

static const GlobalRoute kGlobalRoutes[] = {
    {&wl_compositor_interface, bindCompositor},
    {&zwlr_layer_shell_v1_interface, bindLayerShell},
    {&xdg_wm_base_interface, bindWindowManager},
    {&zxdg_decoration_manager_v1_interface, bindDecorations},
    {&wp_fractional_scale_manager_v1_interface, bindFractionalScales},
    {&wp_viewporter_interface, bindViewporter},
    {&wl_output_interface, bindMonitor},
    {&wl_seat_interface, bindRunSeat},
};

static void onGlobal(void*, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
    for (const GlobalRoute& route : kGlobalRoutes) {
        if (std::strcmp(interface, route.interface->name) == 0) return route.bind(name, version);
    }
}

static void onGlobalRemove(void*, wl_registry*, uint32_t name) {
    uncoverMonitor(name);
}

static const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

static void releaseGlobals() {
    WaylandGlobals& globals = waylandGlobals();
    if (globals.viewporter) wp_viewporter_destroy(globals.viewporter);
    if (globals.fractionalScales) wp_fractional_scale_manager_v1_destroy(globals.fractionalScales);
    if (globals.decorations) zxdg_decoration_manager_v1_destroy(globals.decorations);
    if (globals.windowManager) xdg_wm_base_destroy(globals.windowManager);
    if (globals.layerShell) zwlr_layer_shell_v1_destroy(globals.layerShell);
    if (globals.compositor) wl_compositor_destroy(globals.compositor);
    if (gRun.registry) wl_registry_destroy(gRun.registry);
    globals = {};
}

// ---- what the run draws on ---------------------------------------------------------------------

// Every monitor on a layer; without layer shell a full-screen run takes a full-screen window on
// each monitor, and a wallpaper cannot be had at all.
static bool coverTarget(const ProgramOptions& options) {
    const bool layers = waylandGlobals().layerShell != nullptr;
    switch (options.target) {
        case DrawTarget::FullScreen:
            if (layers) break;
            std::fprintf(stderr, "skyfold: this compositor has no layer shell "
                                 "(zwlr_layer_shell_v1): a full-screen window on each monitor "
                                 "instead\n");
            break;
        case DrawTarget::Background:
            if (layers) break;
            std::fprintf(stderr, "skyfold: --background needs a compositor with the layer shell "
                                 "(zwlr_layer_shell_v1), as sway, Hyprland and KDE Plasma have\n");
            return false;
        default:
            gRun.window = openOwnWindow(options.width, options.height, nullptr);
            return gRun.window != nullptr;
    }
    coverMonitors(options.target, layers);
    return true;
}

// A run that can draw nowhere would hold the one-saver lock unseen, and every later idle start
// would end at once.
static bool drawsSomewhere() {
    return gRun.window ? ownWindowMayDraw(gRun.window) : monitorsMayDraw();
}

// ---- the loop ----------------------------------------------------------------------------------

static bool runIsOver() {
    return waylandRunEnd() != WaylandRunEnd::Running || runSignalled() || sceneQuitRequested();
}

static void loseCompositor() {
    const int error = wl_display_get_error(gRun.display);
    const wl_interface* interface = nullptr;
    uint32_t objectId = 0;
    const uint32_t code = error == EPROTO
                              ? wl_display_get_protocol_error(gRun.display, &interface, &objectId)
                              : 0;
    if (interface) {
        std::fprintf(stderr, "skyfold: the Wayland compositor ended the connection: protocol "
                             "error %u on %s@%u\n", code, interface->name, objectId);
    } else {
        std::fprintf(stderr, "skyfold: the Wayland compositor went away (%s)\n",
                     error ? std::strerror(error) : "connection closed");
    }
    failWaylandRun();
}

// How long ppoll waits: until the next view is due, or without end while every view waits for the
// compositor.
static timespec* waitLimit(timespec* limit) {
    const double seconds = secondsUntilWaylandFrame();
    if (seconds < 0.0) return nullptr;
    const double whole = std::floor(seconds);
    limit->tv_sec = static_cast<time_t>(whole);
    limit->tv_nsec = static_cast<long>((seconds - whole) * kNanosecondsPerSecond);
    return limit;
}

// Reads what the compositor sent while sleeping; the events are handled afterwards. A connection
// whose buffer is full is also waited on until it can take the rest.
static void sleepOnConnection() {
    while (wl_display_prepare_read(gRun.display) != 0) {
        if (wl_display_dispatch_pending(gRun.display) < 0) return loseCompositor();
    }
    const bool flushed = wl_display_flush(gRun.display) >= 0;
    if (!flushed && errno != EAGAIN) {
        wl_display_cancel_read(gRun.display);
        return loseCompositor();
    }
    const short events = static_cast<short>(POLLIN | (flushed ? 0 : POLLOUT));
    pollfd connection = {wl_display_get_fd(gRun.display), events, 0};
    timespec limit;
    const int ready = ppoll(&connection, 1, waitLimit(&limit), &gRun.waitMask);
    if (ready > 0 && (connection.revents & POLLIN)) {
        if (wl_display_read_events(gRun.display) < 0) return loseCompositor();
    } else {
        wl_display_cancel_read(gRun.display);
    }
    if (ready > 0 && (connection.revents & (POLLERR | POLLHUP))) loseCompositor();
}

// Each turn handles what the compositor said, draws what is due, then sleeps until the next view
// is due (not at all when one is due now, as in an unpaced run, where the connection is still read
// every turn).
static void runLoop() {
    while (!runIsOver()) {
        if (wl_display_dispatch_pending(gRun.display) < 0) return loseCompositor();
        remakeClosedCovers();
        if (!drawsSomewhere() && waylandRunEnd() == WaylandRunEnd::Running) {
            std::fprintf(stderr, "skyfold: no monitor is left to draw on\n");
            failWaylandRun();
        }
        if (runIsOver()) return;
        drawDueWaylandViews();
        sleepOnConnection();
    }
}

// ---- the run -----------------------------------------------------------------------------------

static const char* displayName() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name && *name ? name : "wayland-0";
}

bool waylandReachable() {
    wl_display* display = wl_display_connect(nullptr);
    if (display) wl_display_disconnect(display);
    return display != nullptr;
}

static bool connect() {
    gRun.display = wl_display_connect(nullptr);
    if (!gRun.display) {
        std::fprintf(stderr, "skyfold: cannot connect to the Wayland compositor '%s'\n",
                     displayName());
        return false;
    }
    gRun.registry = wl_display_get_registry(gRun.display);
    wl_registry_add_listener(gRun.registry, &kRegistryListener, nullptr);
    // The first round trip brings the globals, the second what each monitor and the seat say.
    if (wl_display_roundtrip(gRun.display) < 0 || wl_display_roundtrip(gRun.display) < 0) {
        loseCompositor();
        return false;
    }
    if (!waylandGlobals().compositor) {
        std::fprintf(stderr, "skyfold: the Wayland compositor offers no surfaces (wl_compositor)\n");
        return false;
    }
    return true;
}

// The scene's textures and lists go while a view can still be made current, then the surfaces
// with their views, then the context and the EGL display.
static int teardown() {
    releaseWaylandSceneResources();
    if (gRun.window) closeOwnWindow(gRun.window);
    gRun.window = nullptr;
    releaseMonitorCovers();
    releaseSeat();
    destroyWaylandScene();
    releaseGlobals();
    if (gRun.display) {
        wl_display_flush(gRun.display);
        wl_display_disconnect(gRun.display);
    }
    return waylandRunEnd() == WaylandRunEnd::Failed ? kFailedExitCode : kEndedExitCode;
}

int runWaylandSaver(const ProgramOptions& options) {
    gRun.target = options.target;
    installRunSignals();
    blockRunSignals(&gRun.waitMask);
    if (options.target == DrawTarget::FullScreen &&
        !takeSaverLock(std::getenv("XDG_RUNTIME_DIR"), std::getenv("WAYLAND_DISPLAY"))) {
        return kEndedExitCode;  // another saver already covers this display
    }
    if (!connect() || !createWaylandScene(gRun.display, sceneFrameOptions(options)) ||
        !coverTarget(options)) {
        failWaylandRun();
        return teardown();
    }
    runLoop();
    return teardown();
}
