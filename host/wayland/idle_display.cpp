// The watcher's Wayland connection: the registry read once (a seat and the idle protocols'
// globals), the idle source's object, and the connection's socket on GLib's main loop, dispatched
// whenever the compositor speaks and reported gone when it hangs up.
#include "host/wayland/idle_display.h"

#include <glib-unix.h>
#include <wayland-client.h>

#include <cstring>

#include "host/wayland/idle_notifications.h"

static struct {
    wl_display* display;
    wl_registry* registry;
    wl_seat* seat;
    uint32_t extNotifier, kdeIdle;  // the globals' names; 0 where not offered
    const IdleReports* reports;
} gIdleDisplay;

static const uint32_t kSeatVersion = 1;  // only its identity is asked for

static void onGlobal(void*, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t) {
    if (std::strcmp(interface, "wl_seat") == 0 && !gIdleDisplay.seat) {
        gIdleDisplay.seat = static_cast<wl_seat*>(
            wl_registry_bind(registry, name, &wl_seat_interface, kSeatVersion));
    } else if (std::strcmp(interface, "ext_idle_notifier_v1") == 0) {
        gIdleDisplay.extNotifier = name;
    } else if (std::strcmp(interface, "org_kde_kwin_idle") == 0) {
        gIdleDisplay.kdeIdle = name;
    }
}

static void onGlobalRemoved(void*, wl_registry*, uint32_t) {}

static const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemoved};

static void onSeatCapabilities(void*, wl_seat*, uint32_t) {}
static void onSeatName(void*, wl_seat*, const char*) {}
static const wl_seat_listener kSeatListener = {onSeatCapabilities, onSeatName};

bool openIdleDisplay(bool* extIdleNotify, bool* kdeIdle) {
    gIdleDisplay.display = wl_display_connect(nullptr);
    if (!gIdleDisplay.display) return false;
    gIdleDisplay.registry = wl_display_get_registry(gIdleDisplay.display);
    wl_registry_add_listener(gIdleDisplay.registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(gIdleDisplay.display);
    if (gIdleDisplay.seat) wl_seat_add_listener(gIdleDisplay.seat, &kSeatListener, nullptr);
    *extIdleNotify = gIdleDisplay.seat && gIdleDisplay.extNotifier != 0;
    *kdeIdle = gIdleDisplay.seat && gIdleDisplay.kdeIdle != 0;
    return true;
}

static gboolean onConnection(gint, GIOCondition, gpointer) {
    if (wl_display_dispatch(gIdleDisplay.display) < 0) {
        gIdleDisplay.reports->gone("the Wayland compositor went away");
        return G_SOURCE_REMOVE;
    }
    wl_display_flush(gIdleDisplay.display);
    return G_SOURCE_CONTINUE;
}

void watchWaylandIdle(IdleSource source, uint32_t milliseconds, const IdleReports* reports) {
    gIdleDisplay.reports = reports;
    if (source == IdleSource::ExtIdleNotify) {
        watchExtIdleNotify(gIdleDisplay.registry, gIdleDisplay.extNotifier, gIdleDisplay.seat,
                           milliseconds, reports);
    } else {
        watchKdeIdle(gIdleDisplay.registry, gIdleDisplay.kdeIdle, gIdleDisplay.seat,
                     milliseconds, reports);
    }
    wl_display_flush(gIdleDisplay.display);
    g_unix_fd_add(wl_display_get_fd(gIdleDisplay.display),
                  static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), onConnection,
                  nullptr);
}
