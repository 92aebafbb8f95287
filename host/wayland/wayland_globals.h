// What the parts of a Wayland run share: the compositor's globals (null where the compositor
// offers none) and the run's end, which surfaces and input ask for. A leaf: it calls no other part
// of the host. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/wayland_globals.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

// NOTE: the generated layer-shell header names a parameter "namespace"; the build renames it.
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct WaylandGlobals {
    wl_compositor* compositor;
    zwlr_layer_shell_v1* layerShell;       // what covers monitors; absent on GNOME and weston
    xdg_wm_base* windowManager;            // windows of their own
    zxdg_decoration_manager_v1* decorations;  // the compositor's frame around such a window
    wp_fractional_scale_manager_v1* fractionalScales;  // scales such as 1.5, with viewporter
    wp_viewporter* viewporter;
};

// Bound by the run as the registry announces them.
WaylandGlobals& waylandGlobals();

enum class WaylandRunEnd { Running, Ended, Failed };

// Input or the compositor asks for the run to end with 0 once the present step is done.
void endWaylandRun();

// The run cannot go on (the failure is reported already): it ends with 1.
void failWaylandRun();

WaylandRunEnd waylandRunEnd();
