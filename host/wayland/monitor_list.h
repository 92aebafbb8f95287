// The monitors of a Wayland run as the compositor describes them (each wl_output with its scale
// and refresh rate), kept apart from what covers them so that every kind of surface can ask what
// its monitor is like. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/monitor_list.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

#include <cstdint>

const int kMostMonitors = 16;

struct Monitor {
    int slot;              // 0 to kMostMonitors - 1, fixed while the monitor is in use
    uint32_t globalName;
    wl_output* output;
    int32_t scale;         // integer scale, 1 until the monitor says otherwise
    double refreshHertz;   // of the current mode; 0 when unknown
    bool described;        // its first done event came
};

// Called after each complete description of a monitor (the first, and every change after it).
typedef void (*MonitorDescribed)(Monitor* monitor);
void followMonitors(MonitorDescribed described);

// A wl_output global came (at the start or plugged in while running).
void addMonitor(wl_registry* registry, uint32_t name, uint32_t version);

// The monitor of that global name; null when the global is no monitor of this run.
Monitor* monitorNamed(uint32_t globalName);

// Null when the output is not one of the run's monitors.
const Monitor* monitorOf(const wl_output* output);

// Calls visit for each monitor in use.
void visitMonitors(void (*visit)(Monitor* monitor));

// Lets the monitor's output go; whatever covered it must be gone first.
void forgetMonitor(Monitor* monitor);

void forgetMonitors();
