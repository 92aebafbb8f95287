// Idle time from ext-idle-notify-v1 (KWin, sway 1.8 and later, Hyprland, river, niri, labwc,
// Wayfire, COSMIC): one notification for the watcher's whole run.
#include "host/wayland/idle_notifications.h"

#include "ext-idle-notify-v1-client-protocol.h"

static const uint32_t kNotifierVersion = 1;

static void onIdled(void* reports, ext_idle_notification_v1*) {
    static_cast<const IdleReports*>(reports)->idled();
}

static void onResumed(void* reports, ext_idle_notification_v1*) {
    static_cast<const IdleReports*>(reports)->resumed();
}

static const ext_idle_notification_v1_listener kListener = {onIdled, onResumed};

void watchExtIdleNotify(wl_registry* registry, uint32_t global, wl_seat* seat,
                        uint32_t milliseconds, const IdleReports* reports) {
    auto* notifier = static_cast<ext_idle_notifier_v1*>(
        wl_registry_bind(registry, global, &ext_idle_notifier_v1_interface, kNotifierVersion));
    ext_idle_notification_v1* notification =
        ext_idle_notifier_v1_get_idle_notification(notifier, milliseconds, seat);
    ext_idle_notification_v1_add_listener(notification, &kListener,
                                          const_cast<IdleReports*>(reports));
}
