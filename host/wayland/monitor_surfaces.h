// What covers the monitors of a Wayland run: once the run covers monitors, one layer surface on
// each, on the overlay layer for a full-screen run or on the background layer for a wallpaper;
// where the compositor has no layer shell, a full-screen run's window on each instead. A monitor
// plugged in later is covered at once; one unplugged is let go. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/monitor_surfaces.h belongs to the Wayland host"
#endif

#include <cstdint>

#include "host/program_options.h"  // DrawTarget

// From now on every monitor, present and to come, is covered: FullScreen on the overlay layer with
// the keyboard to itself (or a full-screen window), Background on the background layer with no
// input at all.
void coverMonitors(DrawTarget target, bool layerShell);

// A monitor's global went away: its cover goes, then the monitor.
void uncoverMonitor(uint32_t globalName);

// Surfaces the compositor closed while their monitor stayed are made again, once per monitor.
void remakeClosedCovers();

// True while some monitor is drawn on or waits for its first configure.
bool monitorsMayDraw();

// Destroys every cover and lets every monitor go.
void releaseMonitorCovers();
