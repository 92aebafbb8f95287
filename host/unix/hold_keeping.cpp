// The serve-or-follow choice: a name watch on org.freedesktop.ScreenSaver, on GNOME Shell and on
// each desktop's keeper of requests. Keepers are followed while they are on the bus; the name is
// served where chooseHoldKeeping says so, given back where it does not; a keeper whose holds no
// one can read is named in one line.
#include "host/unix/hold_keeping.h"

#include <cstdio>
#include <string>

#include "host/unix/desktop_holds.h"
#include "host/unix/screensaver_service.h"

struct WatchedName {
    const char* name;
    bool SessionBusNames::*present;
};

static const char kScreenSaver[] = "org.freedesktop.ScreenSaver";
static const WatchedName kWatchedNames[] = {
    {kScreenSaver, &SessionBusNames::screenSaverElsewhere},
    {"org.gnome.Shell", &SessionBusNames::gnomeShell},
    {"org.gnome.SessionManager", &SessionBusNames::sessionManager},
    {"org.kde.Solid.PowerManagement.PolicyAgent", &SessionBusNames::plasmaAgent},
    {"org.freedesktop.PowerManagement", &SessionBusNames::powerManager},
    {"org.kde.KWin", &SessionBusNames::kwin},
};
static const size_t kNames = G_N_ELEMENTS(kWatchedNames);
static const int kAnswerMilliseconds = 2000;

static struct {
    GDBusConnection* bus;
    const IdleReports* reports;
    SessionBusNames names;
    bool firstOwnerDue[kNames];  // each watch's first word on its name's owner
    bool seen[kNames];           // the name has had an owner since the start
    std::string screenSaverOwner;  // another program's unique name, or empty
    std::string toldUnreadable;    // the keeper last named as unreadable
} gKeeping;

bool screenSaverKeptElsewhere() {
    return gKeeping.names.screenSaverElsewhere;
}

bool gnomeShellRuns() {
    return gKeeping.names.gnomeShell;
}

static void onKeeperProcess(GObject* bus, GAsyncResult* result, gpointer) {
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
    std::string keeper = gKeeping.toldUnreadable;
    if (reply) {
        guint32 pid = 0;
        g_variant_get(reply, "(u)", &pid);
        g_variant_unref(reply);
        gchar* command = nullptr;
        const std::string path = "/proc/" + std::to_string(pid) + "/comm";
        if (g_file_get_contents(path.c_str(), &command, nullptr, nullptr)) {
            keeper = g_strstrip(command);
        }
        g_free(command);
    }
    std::fprintf(stderr,
                 "skyfold: %s keeps org.freedesktop.ScreenSaver, and its holds cannot be read: "
                 "players' requests do not hold the saver back; have %s's own idle timeout run "
                 "'skyfold --fullscreen' instead\n",
                 keeper.c_str(), keeper.c_str());
}

static void tellUnreadable() {
    if (gKeeping.screenSaverOwner == gKeeping.toldUnreadable) return;
    gKeeping.toldUnreadable = gKeeping.screenSaverOwner;
    g_dbus_connection_call(gKeeping.bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                           g_variant_new("(s)", gKeeping.screenSaverOwner.c_str()),
                           G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kAnswerMilliseconds,
                           nullptr, onKeeperProcess, nullptr);
}

// Made once every watch has told its name's first owner, and at every change after that.
static void choose() {
    for (bool due : gKeeping.firstOwnerDue) {
        if (due) return;
    }
    const HoldKeeping keeping = chooseHoldKeeping(gKeeping.names);
    if (keeping.serve) serveScreenSaver(gKeeping.bus, gKeeping.reports);
    if (!keeping.serve) stopServingScreenSaver();
    if (keeping.unreadable) tellUnreadable();
}

// The keeper that a watched name is, if it is one.
static bool keeperNamed(const char* name, HoldKeeper* keeper) {
    for (HoldKeeper candidate : kHoldKeepers) {
        if (g_strcmp0(holdKeeperName(candidate), name) == 0) {
            *keeper = candidate;
            return true;
        }
    }
    return false;
}

static void ownerChanged(size_t index, const char* owner) {
    const WatchedName& watched = kWatchedNames[index];
    const char* self = g_dbus_connection_get_unique_name(gKeeping.bus);
    const bool ours = owner && g_strcmp0(owner, self) == 0;
    gKeeping.names.*watched.present = owner && !ours;
    if (watched.name == kScreenSaver) gKeeping.screenSaverOwner = owner && !ours ? owner : "";
    HoldKeeper keeper;
    if (keeperNamed(watched.name, &keeper)) {
        if (owner) followHoldKeeper(gKeeping.bus, keeper, gKeeping.reports);
        if (!owner) stopFollowingHoldKeeper(keeper);
        if (gKeeping.seen[index]) gKeeping.reports->serviceMoved(watched.name, owner != nullptr);
    }
    gKeeping.seen[index] = gKeeping.seen[index] || owner;
    const bool first = gKeeping.firstOwnerDue[index];
    gKeeping.firstOwnerDue[index] = false;
    choose();
    if (first) gKeeping.reports->readDone();
}

static void onAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer index) {
    ownerChanged(GPOINTER_TO_SIZE(index), owner);
}

static void onVanished(GDBusConnection*, const gchar*, gpointer index) {
    ownerChanged(GPOINTER_TO_SIZE(index), nullptr);
}

void watchHoldKeepers(GDBusConnection* sessionBus, const IdleReports* reports) {
    gKeeping.bus = sessionBus;
    gKeeping.reports = reports;
    for (size_t i = 0; i < kNames; ++i) {
        gKeeping.firstOwnerDue[i] = true;
        reports->readAsked();
        g_bus_watch_name_on_connection(sessionBus, kWatchedNames[i].name,
                                       G_BUS_NAME_WATCHER_FLAGS_NONE, onAppeared, onVanished,
                                       GSIZE_TO_POINTER(i), nullptr);
    }
}
