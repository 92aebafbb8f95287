// Idle time from org_kde_kwin_idle (KWin, and wlroots compositors before ext-idle-notify-v1 such
// as Debian 12's sway 1.7): one timeout object for the watcher's whole run.
#include "host/wayland/idle_notifications.h"

#include "idle-client-protocol.h"

static const uint32_t kIdleVersion = 1;

static void onIdle(void* reports, org_kde_kwin_idle_timeout*) {
    static_cast<const IdleReports*>(reports)->idled();
}

static void onResumed(void* reports, org_kde_kwin_idle_timeout*) {
    static_cast<const IdleReports*>(reports)->resumed();
}

static const org_kde_kwin_idle_timeout_listener kListener = {onIdle, onResumed};

void watchKdeIdle(wl_registry* registry, uint32_t global, wl_seat* seat, uint32_t milliseconds,
                  const IdleReports* reports) {
    auto* idle = static_cast<org_kde_kwin_idle*>(
        wl_registry_bind(registry, global, &org_kde_kwin_idle_interface, kIdleVersion));
    org_kde_kwin_idle_timeout* timeout = org_kde_kwin_idle_get_idle_timeout(idle, seat,
                                                                            milliseconds);
    org_kde_kwin_idle_timeout_add_listener(timeout, &kListener, const_cast<IdleReports*>(reports));
}
