// The two Wayland idle protocols, one file each: both report idled and resumed for a seat, and
// both hold back while a client's idle inhibitor is in force. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/idle_notifications.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

#include "host/idle_sources.h"

// NOTE: version 1 only: version 2 adds a request that ignores idle inhibitors, which a saver
// must never use.
void watchExtIdleNotify(wl_registry* registry, uint32_t global, wl_seat* seat,
                        uint32_t milliseconds, const IdleReports* reports);
void watchKdeIdle(wl_registry* registry, uint32_t global, wl_seat* seat, uint32_t milliseconds,
                  const IdleReports* reports);
