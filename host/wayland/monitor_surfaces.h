// The monitors of a Wayland run and the layer surfaces that cover them: each monitor (a wl_output)
// as the compositor describes it, and, once the run covers monitors, one layer surface on each,
// on the overlay layer for a full-screen run or on the background layer for a wallpaper. A monitor
// plugged in later is covered at once; one unplugged is let go. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/monitor_surfaces.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

#include <cstdint>

#include "host/program_options.h"  // DrawTarget

// A wl_output global came (at the start or plugged in while running).
void addMonitor(wl_registry* registry, uint32_t name, uint32_t version);

// A global went away; true when it was a monitor, which is then let go.
bool removeMonitor(uint32_t name);

// From now on every monitor, present and to come, is covered: FullScreen on the overlay layer with
// the keyboard to itself, Background on the background layer with no input at all.
void coverMonitors(DrawTarget target);

// The monitor's integer scale (1 until it says otherwise) and refresh rate (0 when unknown).
int32_t monitorScale(const wl_output* output);
double monitorRefreshHertz(const wl_output* output);

// Destroys every layer surface and lets every monitor go. The scene's views must be gone first.
void releaseMonitors();
