// The desktops' keepers of "don't start now" requests, one table row each: where to ask whether
// one holds, and the signals after which to ask again. Every question is asynchronous and bounded
// in time, so a keeper that hangs never stalls the watcher.
#include "host/unix/desktop_holds.h"

struct KeeperWay {
    const char* name;
    const char* path;
    const char* interface;
    const char* method;        // answers (b)
    bool flagArgument;         // it takes the flag as its one (u) argument
    guint32 flag;              // what it is asked about
    const char* changes[2];    // its signals after which it is asked again (null: none)
    InhibitHolder holder;
};

// GNOME's settings daemon's proxy (and MATE's and Cinnamon's screen savers) hand each Inhibit on
// as an idle inhibit; KDE Plasma's screen locker hands it to its power manager as a hold on
// ChangeScreenSettings; Xfce's power manager keeps its own book.
static const guint32 kInhibitIdle = 8;
static const guint32 kPlasmaChangeScreenSettings = 4;
static const KeeperWay kWays[] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
     "IsInhibited", true, kInhibitIdle, {"InhibitorAdded", "InhibitorRemoved"},
     kSessionManagerInhibits},
    {"org.kde.Solid.PowerManagement.PolicyAgent", "/org/kde/Solid/PowerManagement/PolicyAgent",
     "org.kde.Solid.PowerManagement.PolicyAgent", "HasInhibition", true,
     kPlasmaChangeScreenSettings, {"InhibitionsChanged", nullptr}, kPlasmaInhibits},
    {"org.freedesktop.PowerManagement", "/org/freedesktop/PowerManagement/Inhibit",
     "org.freedesktop.PowerManagement.Inhibit", "HasInhibit", false, 0,
     {"HasInhibitChanged", nullptr}, kPowerManagerInhibits},
};
static const int kAnswerMilliseconds = 2000;

struct Following {
    guint subscriptions[2];
    GCancellable* asking;  // cancelled when the keeper leaves
    bool firstAnswerDue;
};

static struct {
    GDBusConnection* bus;
    const IdleReports* reports;
    Following keepers[G_N_ELEMENTS(kWays)];
} gHolds;

const char* holdKeeperName(HoldKeeper keeper) {
    return kWays[static_cast<int>(keeper)].name;
}

static void onAnswer(GObject* bus, GAsyncResult* result, gpointer index) {
    const KeeperWay& way = kWays[GPOINTER_TO_INT(index)];
    Following& following = gHolds.keepers[GPOINTER_TO_INT(index)];
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_clear_error(&error);
    gboolean holds = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &holds);
        g_variant_unref(reply);
    }
    if (!cancelled) gHolds.reports->inhibits(way.holder, holds);
    if (following.firstAnswerDue) {
        following.firstAnswerDue = false;
        gHolds.reports->readDone();
    }
}

static void ask(int index) {
    const KeeperWay& way = kWays[index];
    g_dbus_connection_call(gHolds.bus, way.name, way.path, way.interface, way.method,
                           way.flagArgument ? g_variant_new("(u)", way.flag) : nullptr,
                           G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NO_AUTO_START,
                           kAnswerMilliseconds, gHolds.keepers[index].asking, onAnswer,
                           GINT_TO_POINTER(index));
}

static void onChange(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                     GVariant*, gpointer index) {
    ask(GPOINTER_TO_INT(index));
}

void followHoldKeeper(GDBusConnection* sessionBus, HoldKeeper keeper,
                      const IdleReports* reports) {
    const int index = static_cast<int>(keeper);
    const KeeperWay& way = kWays[index];
    Following& following = gHolds.keepers[index];
    if (following.asking) return;
    gHolds.bus = sessionBus;
    gHolds.reports = reports;
    following.asking = g_cancellable_new();
    for (int i = 0; i < 2 && way.changes[i]; ++i) {
        following.subscriptions[i] = g_dbus_connection_signal_subscribe(
            sessionBus, way.name, way.interface, way.changes[i], way.path, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, onChange, GINT_TO_POINTER(index), nullptr);
    }
    if (!following.firstAnswerDue) reports->readAsked();  // once, while one is still due
    following.firstAnswerDue = true;
    ask(index);
}

void stopFollowingHoldKeeper(HoldKeeper keeper) {
    const int index = static_cast<int>(keeper);
    Following& following = gHolds.keepers[index];
    if (!following.asking) return;
    for (guint& subscription : following.subscriptions) {
        if (subscription != 0) g_dbus_connection_signal_unsubscribe(gHolds.bus, subscription);
        subscription = 0;
    }
    g_cancellable_cancel(following.asking);
    g_clear_object(&following.asking);
    gHolds.reports->inhibits(kWays[index].holder, false);
}
