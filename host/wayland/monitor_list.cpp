// The monitor table: bound at version 2 (scale and done), described by the events that follow.
#include "host/wayland/monitor_list.h"

static struct {
    MonitorDescribed described;
    bool inUse[kMostMonitors];
    Monitor monitors[kMostMonitors];
} gMonitorList;

static const uint32_t kOutputVersion = 2;
static const double kMillihertzPerHertz = 1000.0;

static void onGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                       const char*, int32_t) {}

static void onMode(void* data, wl_output*, uint32_t flags, int32_t, int32_t, int32_t millihertz) {
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        static_cast<Monitor*>(data)->refreshHertz = millihertz / kMillihertzPerHertz;
    }
}

static void onScale(void* data, wl_output*, int32_t factor) {
    static_cast<Monitor*>(data)->scale = factor > 0 ? factor : 1;
}

static void onDone(void* data, wl_output*) {
    Monitor* monitor = static_cast<Monitor*>(data);
    monitor->described = true;
    if (gMonitorList.described) gMonitorList.described(monitor);
}

// Bound at version 2: the name and description events (version 4) never come.
static const wl_output_listener kOutputListener = {onGeometry, onMode, onDone, onScale, nullptr,
                                                   nullptr};

void followMonitors(MonitorDescribed described) {
    gMonitorList.described = described;
}

void addMonitor(wl_registry* registry, uint32_t name, uint32_t version) {
    for (int slot = 0; slot < kMostMonitors; ++slot) {
        if (gMonitorList.inUse[slot]) continue;
        gMonitorList.inUse[slot] = true;
        Monitor& monitor = gMonitorList.monitors[slot];
        monitor = Monitor{slot, name, nullptr, 1, 0.0, false};
        monitor.output = static_cast<wl_output*>(wl_registry_bind(
            registry, name, &wl_output_interface, version < kOutputVersion ? version : kOutputVersion));
        wl_output_add_listener(monitor.output, &kOutputListener, &monitor);
        // A first-version monitor sends no done event: it is described as soon as it is bound.
        if (version < WL_OUTPUT_DONE_SINCE_VERSION) onDone(&monitor, monitor.output);
        return;
    }
}

Monitor* monitorNamed(uint32_t globalName) {
    for (int slot = 0; slot < kMostMonitors; ++slot) {
        Monitor& monitor = gMonitorList.monitors[slot];
        if (gMonitorList.inUse[slot] && monitor.globalName == globalName) return &monitor;
    }
    return nullptr;
}

const Monitor* monitorOf(const wl_output* output) {
    for (int slot = 0; slot < kMostMonitors; ++slot) {
        const Monitor& monitor = gMonitorList.monitors[slot];
        if (gMonitorList.inUse[slot] && monitor.output == output) return &monitor;
    }
    return nullptr;
}

void visitMonitors(void (*visit)(Monitor* monitor)) {
    for (int slot = 0; slot < kMostMonitors; ++slot) {
        if (gMonitorList.inUse[slot]) visit(&gMonitorList.monitors[slot]);
    }
}

void forgetMonitor(Monitor* monitor) {
    if (wl_output_get_version(monitor->output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(monitor->output);
    } else {
        wl_output_destroy(monitor->output);
    }
    gMonitorList.inUse[monitor->slot] = false;
    *monitor = Monitor{};
}

void forgetMonitors() {
    visitMonitors(forgetMonitor);
    gMonitorList.described = nullptr;
}
