// The compositor's globals a Wayland run binds, shared by the host's parts: null where the
// compositor offers none. Bound by the run (host/wayland/saver_run.cpp). Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/wayland_globals.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

// NOTE: the generated layer-shell header names a parameter "namespace"; the build renames it.
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct WaylandGlobals {
    wl_compositor* compositor;
    zwlr_layer_shell_v1* layerShell;       // what covers monitors; absent on GNOME and weston
    xdg_wm_base* windowManager;            // windows of their own
    zxdg_decoration_manager_v1* decorations;  // the compositor's frame around such a window
};

const WaylandGlobals& waylandGlobals();
