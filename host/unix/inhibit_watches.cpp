// The watcher's view of the requests not to start: the session bus's (its own book, or the
// desktop's) and logind's on the system bus, each read from the owner's answer or property and
// followed through its change signal.
#include "host/unix/inhibit_watches.h"

static struct {
    const IdleReports* reports;
    GDBusProxy* logind;
} gWatches;

// KDE Plasma: the screen locker owns org.freedesktop.ScreenSaver and hands each Inhibit to the
// power manager's policy agent, as a hold on ChangeScreenSettings; KWin's idle protocols do not
// see it.
static const char kPlasmaAgent[] = "org.kde.Solid.PowerManagement.PolicyAgent";
static const char kPlasmaAgentPath[] = "/org/kde/Solid/PowerManagement/PolicyAgent";
static const guint32 kPlasmaChangeScreenSettings = 4;
// GNOME: the settings daemon's screen saver proxy owns the name and hands each Inhibit to the
// session manager as an idle inhibit; mutter's idle monitor, the watcher's idle source there,
// holds its watches back while one is in force, so nothing more is asked.
static const char kLogind[] = "org.freedesktop.login1";
static const char kLogindIdle[] = "idle";

bool busNameOwned(GDBusConnection* bus, const char* name) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned;
}

static void onPlasmaAnswer(GObject* bus, GAsyncResult* result, gpointer) {
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
    gboolean holds = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &holds);
        g_variant_unref(reply);
    }
    gWatches.reports->inhibits(kDesktopInhibits, holds);
}

static void askPlasmaAgent(GDBusConnection* bus, const gchar*, const gchar*, const gchar*,
                           const gchar*, GVariant*, gpointer) {
    g_dbus_connection_call(bus, kPlasmaAgent, kPlasmaAgentPath, kPlasmaAgent, "HasInhibition",
                           g_variant_new("(u)", kPlasmaChangeScreenSettings),
                           G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                           onPlasmaAnswer, nullptr);
}

static void watchPlasmaAgent(GDBusConnection* bus) {
    g_dbus_connection_signal_subscribe(bus, kPlasmaAgent, kPlasmaAgent, "InhibitionsChanged",
                                       kPlasmaAgentPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                       askPlasmaAgent, nullptr, nullptr);
    askPlasmaAgent(bus, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

static bool logindHolds(GDBusProxy* proxy) {
    GVariant* blocked = g_dbus_proxy_get_cached_property(proxy, "BlockInhibited");
    bool holds = false;
    if (blocked) {
        gchar** modes = g_strsplit(g_variant_get_string(blocked, nullptr), ":", -1);
        holds = g_strv_contains(modes, kLogindIdle);
        g_strfreev(modes);
        g_variant_unref(blocked);
    }
    return holds;
}

static void onLogindChanged(GDBusProxy* proxy, GVariant*, GStrv, gpointer) {
    gWatches.reports->inhibits(kLogindInhibits, logindHolds(proxy));
}

static void onSessionBusClosed(GDBusConnection*, gboolean, GError*, gpointer) {
    gWatches.reports->gone("the session bus went away");
}

void watchSessionInhibits(GDBusConnection* sessionBus, const IdleReports* reports) {
    gWatches.reports = reports;
    g_dbus_connection_set_exit_on_close(sessionBus, FALSE);
    g_signal_connect(sessionBus, "closed", G_CALLBACK(onSessionBusClosed), nullptr);
    if (!serveScreenSaver(sessionBus, reports)) followDesktopInhibits(sessionBus);
}

void followDesktopInhibits(GDBusConnection* sessionBus) {
    if (busNameOwned(sessionBus, kPlasmaAgent)) watchPlasmaAgent(sessionBus);
}

void watchLogindInhibits(const IdleReports* reports) {
    gWatches.reports = reports;
    GDBusConnection* systemBus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr);
    if (!systemBus) return;
    g_dbus_connection_set_exit_on_close(systemBus, FALSE);  // the session lives on without it
    if (!busNameOwned(systemBus, kLogind)) return;
    // NOTE: a change may come as the property's name alone; the proxy then asks its new value.
    const GDBusProxyFlags flags = static_cast<GDBusProxyFlags>(
        G_DBUS_PROXY_FLAGS_DO_NOT_AUTO_START | G_DBUS_PROXY_FLAGS_GET_INVALIDATED_PROPERTIES);
    gWatches.logind = g_dbus_proxy_new_sync(systemBus, flags, nullptr, kLogind,
                                            "/org/freedesktop/login1",
                                            "org.freedesktop.login1.Manager", nullptr, nullptr);
    if (!gWatches.logind) return;
    g_signal_connect(gWatches.logind, "g-properties-changed", G_CALLBACK(onLogindChanged),
                     nullptr);
    reports->inhibits(kLogindInhibits, logindHolds(gWatches.logind));
}
