// The desktops' lockers, one table row each, tried in order when the watcher locks: GNOME Shell's
// while it runs, then the desktop's org.freedesktop.ScreenSaver while another program keeps it
// (one that has no Lock, such as GNOME's proxy or hypridle, answers with an error), then logind.
#include "host/unix/session_lock.h"

#include "host/unix/hold_keeping.h"
#include "host/unix/logind.h"

struct Locker {
    const char* name;
    const char* path;       // where Lock and GetActive are asked
    const char* signalPath; // where ActiveChanged is heard: null for any path
    const char* present;    // the name whose owner says the locker is there
    LockSign sign;
    GDBusCallFlags flags;   // GNOME's is started on demand
};

static const Locker kLockers[] = {
    {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "/org/gnome/ScreenSaver",
     "org.gnome.Shell", kGnomeLockActive, G_DBUS_CALL_FLAGS_NONE},
    // NOTE: KDE Plasma tells ActiveChanged on /ScreenSaver as well.
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", nullptr,
     "org.freedesktop.ScreenSaver", kDesktopLockActive, G_DBUS_CALL_FLAGS_NO_AUTO_START},
};
static const int kLockerCount = G_N_ELEMENTS(kLockers);

static struct {
    GDBusConnection* bus;
    const IdleReports* reports;
    bool firstOwnerDue[G_N_ELEMENTS(kLockers)];
} gLock;

static bool lockerThere(int index) {
    return index == 0 ? gnomeShellRuns() : screenSaverKeptElsewhere();
}

struct Asking {
    int index;
    bool first;
};

static void onActive(GObject* bus, GAsyncResult* result, gpointer data) {
    const Asking* asking = static_cast<Asking*>(data);
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
    gboolean active = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &active);
        g_variant_unref(reply);
    }
    gLock.reports->lockSign(kLockers[asking->index].sign, active);
    if (asking->first) gLock.reports->readDone();
    delete asking;
}

static void askActive(int index, bool first) {
    const Locker& locker = kLockers[index];
    if (first) gLock.reports->readAsked();
    g_dbus_connection_call(gLock.bus, locker.name, locker.path, locker.name, "GetActive", nullptr,
                           G_VARIANT_TYPE("(b)"), locker.flags, kLockWaitMilliseconds, nullptr,
                           onActive, new Asking{index, first});
}

static void onActiveChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                            const gchar*, GVariant* parameters, gpointer index) {
    gboolean active = FALSE;
    g_variant_get(parameters, "(b)", &active);
    gLock.reports->lockSign(kLockers[GPOINTER_TO_INT(index)].sign, active);
}

static void ownerChanged(int index, bool there) {
    if (there) askActive(index, gLock.firstOwnerDue[index]);
    if (!there) gLock.reports->lockSign(kLockers[index].sign, false);
    if (gLock.firstOwnerDue[index]) {
        gLock.firstOwnerDue[index] = false;
        gLock.reports->readDone();
    }
}

static void onAppeared(GDBusConnection* bus, const gchar*, const gchar* owner, gpointer index) {
    const bool ours = g_strcmp0(owner, g_dbus_connection_get_unique_name(bus)) == 0;
    ownerChanged(GPOINTER_TO_INT(index), !ours);
}

static void onVanished(GDBusConnection*, const gchar*, gpointer index) {
    ownerChanged(GPOINTER_TO_INT(index), false);
}

void watchSessionLock(GDBusConnection* sessionBus, const IdleReports* reports) {
    gLock.bus = sessionBus;
    gLock.reports = reports;
    for (int i = 0; i < kLockerCount; ++i) {
        const Locker& locker = kLockers[i];
        g_dbus_connection_signal_subscribe(sessionBus, locker.name, locker.name, "ActiveChanged",
                                           locker.signalPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                           onActiveChanged, GINT_TO_POINTER(i), nullptr);
        gLock.firstOwnerDue[i] = true;
        reports->readAsked();
        g_bus_watch_name_on_connection(sessionBus, locker.present, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                       onAppeared, onVanished, GINT_TO_POINTER(i), nullptr);
    }
}

static void lockWith(int index);

// A locker that refused goes on to the next; one that locked is asked whether it shows now.
static void onLocked(GObject* bus, GAsyncResult* result, gpointer index) {
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
    if (!reply) return lockWith(GPOINTER_TO_INT(index) + 1);
    g_variant_unref(reply);
    askActive(GPOINTER_TO_INT(index), false);
}

static int firstLockerFrom(int index) {
    while (index < kLockerCount && !lockerThere(index)) ++index;
    return index;
}

static void lockWith(int index) {
    index = firstLockerFrom(index);
    if (index == kLockerCount) return lockThroughLogind();
    const Locker& locker = kLockers[index];
    g_dbus_connection_call(gLock.bus, locker.name, locker.path, locker.name, "Lock", nullptr,
                           nullptr, locker.flags, kLockWaitMilliseconds, nullptr, onLocked,
                           GINT_TO_POINTER(index));
}

// NOTE: the saver waits for the answer of the first locker asked; where that one refuses and hands
// on to the next, the wait runs out and the saver goes.
LockSign lockSession() {
    if (!gLock.bus) {  // no session bus: logind's lockers alone
        lockThroughLogind();
        return kLogindLocked;
    }
    const int first = firstLockerFrom(0);
    lockWith(first);
    return first < kLockerCount ? kLockers[first].sign : kLogindLocked;
}
