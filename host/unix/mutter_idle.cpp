// GNOME's idle source: one idle watch on mutter's idle monitor for the whole run, and a one-shot
// user-active watch after each time it fires. Both die with this process's bus connection.
#include "host/unix/mutter_idle.h"

static struct {
    GDBusConnection* bus;
    const IdleReports* reports;
    guint32 idleWatch, activeWatch;  // mutter's ids; 0 for none
} gMutter;

static const char kName[] = "org.gnome.Mutter.IdleMonitor";
static const char kPath[] = "/org/gnome/Mutter/IdleMonitor/Core";

// The method's one unsigned answer, 0 when it failed.
static guint64 call(const char* method, GVariant* parameters, const char* answerType) {
    GVariant* reply = g_dbus_connection_call_sync(gMutter.bus, kName, kPath, kName, method,
                                                  parameters, G_VARIANT_TYPE(answerType),
                                                  G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    guint64 value = 0;
    if (!reply) return value;
    GVariant* first = g_variant_get_child_value(reply, 0);
    value = g_variant_is_of_type(first, G_VARIANT_TYPE_UINT64) ? g_variant_get_uint64(first)
                                                                : g_variant_get_uint32(first);
    g_variant_unref(first);
    g_variant_unref(reply);
    return value;
}

static void becameIdle() {
    gMutter.activeWatch = static_cast<guint32>(call("AddUserActiveWatch", nullptr, "(u)"));
    gMutter.reports->idled();
}

static void onWatchFired(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                         GVariant* parameters, gpointer) {
    guint32 id = 0;
    g_variant_get(parameters, "(u)", &id);
    if (id == 0) return;
    if (id == gMutter.idleWatch) {
        becameIdle();
    } else if (id == gMutter.activeWatch) {
        gMutter.activeWatch = 0;  // mutter drops a user-active watch once it fires
        gMutter.reports->resumed();
    }
}

static void onMutterVanished(GDBusConnection*, const gchar*, gpointer) {
    gMutter.reports->gone("GNOME's idle monitor went away");
}

bool mutterIdleOffered(GDBusConnection* sessionBus) {
    return busNameOwned(sessionBus, kName);
}

void watchMutterIdle(GDBusConnection* sessionBus, uint32_t milliseconds,
                     const IdleReports* reports) {
    gMutter.bus = sessionBus;
    gMutter.reports = reports;
    g_dbus_connection_signal_subscribe(sessionBus, kName, kName, "WatchFired", kPath, nullptr,
                                       G_DBUS_SIGNAL_FLAGS_NONE, onWatchFired, nullptr, nullptr);
    g_bus_watch_name_on_connection(sessionBus, kName, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
                                   onMutterVanished, nullptr, nullptr);
    gMutter.idleWatch = static_cast<guint32>(
        call("AddIdleWatch", g_variant_new("(t)", static_cast<guint64>(milliseconds)), "(u)"));
    // NOTE: a watch added once the idle time is past its interval never fires: the session is
    // idle already.
    if (call("GetIdletime", nullptr, "(t)") >= milliseconds) becameIdle();
}
