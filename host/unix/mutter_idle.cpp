// GNOME's idle source: one idle watch on mutter's idle monitor while it is there, and a one-shot
// user-active watch after each time it fires. Both die with this process's bus connection or with
// the monitor; when the monitor comes back they are added again, and its idle time says where the
// user went meanwhile.
#include "host/unix/mutter_idle.h"

static struct {
    GDBusConnection* bus;
    const IdleReports* reports;
    uint32_t milliseconds;
    guint32 idleWatch, activeWatch;  // mutter's ids; 0 for none
    bool idle;
    bool seen;                       // the monitor has been there since the start
} gMutter;

static const char kName[] = "org.gnome.Mutter.IdleMonitor";
static const char kPath[] = "/org/gnome/Mutter/IdleMonitor/Core";
static const char kWhat[] = "GNOME's idle monitor";
static const int kAnswerMilliseconds = 2000;

// The questions asked of the monitor; each answer is one number.
enum Question { kAddIdleWatch, kAddUserActiveWatch, kGetIdletime };
static const char* const kMethods[] = {"AddIdleWatch", "AddUserActiveWatch", "GetIdletime"};

static void answered(Question question, guint64 number);

// The method's one unsigned answer, handed on once it comes; nothing when the call failed.
static void onNumber(GObject* bus, GAsyncResult* result, gpointer question) {
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
    if (!reply) return;
    GVariant* first = g_variant_get_child_value(reply, 0);
    const guint64 number = g_variant_is_of_type(first, G_VARIANT_TYPE_UINT64)
                               ? g_variant_get_uint64(first)
                               : g_variant_get_uint32(first);
    g_variant_unref(first);
    g_variant_unref(reply);
    answered(static_cast<Question>(GPOINTER_TO_INT(question)), number);
}

static void ask(Question question, GVariant* parameters) {
    g_dbus_connection_call(gMutter.bus, kName, kPath, kName, kMethods[question], parameters,
                           nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kAnswerMilliseconds, nullptr,
                           onNumber, GINT_TO_POINTER(question));
}

static void becameIdle() {
    if (gMutter.idle) return;
    gMutter.idle = true;
    ask(kAddUserActiveWatch, nullptr);
    gMutter.reports->idled();
}

static void becameActive() {
    if (!gMutter.idle) return;
    gMutter.idle = false;
    gMutter.reports->resumed();
}

static void onWatchFired(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                         GVariant* parameters, gpointer) {
    guint32 id = 0;
    g_variant_get(parameters, "(u)", &id);
    if (id == 0) return;
    if (id == gMutter.idleWatch) becameIdle();
    if (id == gMutter.activeWatch) {
        gMutter.activeWatch = 0;  // mutter drops a user-active watch once it fires
        becameActive();
    }
}

// NOTE: a watch added once the idle time is past its interval never fires: the session is idle
// already, so the idle time is asked after it.
static void answered(Question question, guint64 number) {
    switch (question) {
    case kAddIdleWatch:
        gMutter.idleWatch = static_cast<guint32>(number);
        ask(kGetIdletime, nullptr);
        break;
    case kAddUserActiveWatch: gMutter.activeWatch = static_cast<guint32>(number); break;
    case kGetIdletime:
        if (number >= gMutter.milliseconds) becameIdle();
        if (number < gMutter.milliseconds) becameActive();
        break;
    }
}

static void onAppeared(GDBusConnection*, const gchar*, const gchar*, gpointer) {
    if (gMutter.seen) gMutter.reports->serviceMoved(kWhat, true);
    gMutter.seen = true;
    ask(kAddIdleWatch, g_variant_new("(t)", static_cast<guint64>(gMutter.milliseconds)));
}

static void onVanished(GDBusConnection*, const gchar*, gpointer) {
    gMutter.idleWatch = gMutter.activeWatch = 0;
    if (gMutter.seen) gMutter.reports->serviceMoved(kWhat, false);
}

bool mutterIdleOffered(GDBusConnection* sessionBus) {
    GVariant* reply = g_dbus_connection_call_sync(
        sessionBus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", kName), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, kAnswerMilliseconds, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned;
}

void watchMutterIdle(GDBusConnection* sessionBus, uint32_t milliseconds,
                     const IdleReports* reports) {
    gMutter.bus = sessionBus;
    gMutter.milliseconds = milliseconds;
    gMutter.reports = reports;
    g_dbus_connection_signal_subscribe(sessionBus, kName, kName, "WatchFired", kPath, nullptr,
                                       G_DBUS_SIGNAL_FLAGS_NONE, onWatchFired, nullptr, nullptr);
    g_bus_watch_name_on_connection(sessionBus, kName, G_BUS_NAME_WATCHER_FLAGS_NONE, onAppeared,
                                   onVanished, nullptr, nullptr);
}
