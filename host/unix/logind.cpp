// The watcher's view of logind: a name watch on org.freedesktop.login1, and while it is there the
// manager's BlockInhibited, this session's LockedHint (the session that XDG_SESSION_ID names, or
// logind's "auto" one of a user service) and PrepareForSleep. Every call is asynchronous and
// bounded in time.
#include "host/unix/logind.h"

#include <gio/gio.h>
#include <gio/gunixfdlist.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

static struct {
    GDBusConnection* bus;       // null where there is no system bus
    const IdleReports* reports;
    bool delaySleep;
    GCancellable* reading;      // while logind is there; cancelled when it leaves
    std::string sessionPath;    // empty until known
    guint sessionChanges;       // the session's PropertiesChanged subscription
    int sleepDelay;             // the delay inhibitor's descriptor; -1 while none is held
    bool firstOwnerDue;
    bool seen;                  // logind has been there since the start
} gLogind = {nullptr, nullptr, false, nullptr, std::string(), 0, -1, false, false};

static const char kLogind[] = "org.freedesktop.login1";
static const char kManagerPath[] = "/org/freedesktop/login1";
static const char kManager[] = "org.freedesktop.login1.Manager";
static const char kSession[] = "org.freedesktop.login1.Session";
static const char kProperties[] = "org.freedesktop.DBus.Properties";
static const char kAutoSessionPath[] = "/org/freedesktop/login1/session/auto";
static const char kIdleBlock[] = "idle";
static const int kAnswerMilliseconds = 2000;

typedef void (*ValueRead)(GVariant* value);  // null when it could not be read

struct Reading {
    ValueRead then;
    bool first;  // a first reading: reported done once answered
};

static void call(const char* path, const char* interface, const char* method,
                 GVariant* parameters, const char* answerType, GAsyncReadyCallback done,
                 gpointer data) {
    g_dbus_connection_call(gLogind.bus, kLogind, path, interface, method, parameters,
                           answerType ? G_VARIANT_TYPE(answerType) : nullptr,
                           G_DBUS_CALL_FLAGS_NO_AUTO_START, kAnswerMilliseconds, gLogind.reading,
                           done, data);
}

// The answer's one value (a property's, unwrapped), or null.
static void onValue(GObject* bus, GAsyncResult* result, gpointer data) {
    Reading* reading = static_cast<Reading*>(data);
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_clear_error(&error);
    GVariant* value = nullptr;
    if (reply) {
        value = g_variant_get_child_value(reply, 0);
        if (g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT)) {
            GVariant* inner = g_variant_get_variant(value);
            g_variant_unref(value);
            value = inner;
        }
        g_variant_unref(reply);
    }
    if (!cancelled) reading->then(value);
    if (value) g_variant_unref(value);
    if (reading->first) gLogind.reports->readDone();
    delete reading;
}

static void ask(const char* path, const char* interface, const char* method,
                 GVariant* parameters, ValueRead then, bool first) {
    if (first) gLogind.reports->readAsked();
    call(path, interface, method, parameters, nullptr, onValue, new Reading{then, first});
}

static void readProperty(const char* path, const char* interface, const char* name,
                         ValueRead then, bool first) {
    ask(path, kProperties, "Get", g_variant_new("(ss)", interface, name), then, first);
}

// ---- holds and lock signs ----------------------------------------------------------------------

static void onBlockInhibited(GVariant* value) {
    bool holds = false;
    if (value && g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
        gchar** blocked = g_strsplit(g_variant_get_string(value, nullptr), ":", -1);
        holds = g_strv_contains(blocked, kIdleBlock);
        g_strfreev(blocked);
    }
    gLogind.reports->inhibits(kLogindInhibits, holds);
}

static void onLockedHint(GVariant* value) {
    const bool locked = value && g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) &&
                        g_variant_get_boolean(value);
    gLogind.reports->lockSign(kLogindLocked, locked);
}

// NOTE: logind may announce a change by the property's name alone; then its value is asked.
static void onPropertiesChanged(GDBusConnection*, const gchar*, const gchar* path, const gchar*,
                                const gchar*, GVariant* parameters, gpointer) {
    const char* interface = nullptr;
    GVariant* changed = nullptr;
    const gchar** invalidated = nullptr;
    g_variant_get(parameters, "(&s@a{sv}^a&s)", &interface, &changed, &invalidated);
    const bool manager = g_strcmp0(interface, kManager) == 0;
    const char* name = manager ? "BlockInhibited" : "LockedHint";
    const ValueRead then = manager ? onBlockInhibited : onLockedHint;
    GVariant* value = g_variant_lookup_value(changed, name, nullptr);
    if (value) {
        then(value);
        g_variant_unref(value);
    } else if (invalidated && g_strv_contains(invalidated, name)) {
        readProperty(path, interface, name, then, false);
    }
    g_variant_unref(changed);
    g_free(invalidated);
}

static void onSessionPath(GVariant* value) {
    if (!value || !g_variant_is_of_type(value, G_VARIANT_TYPE_OBJECT_PATH)) return;
    gLogind.sessionPath = g_variant_get_string(value, nullptr);
    gLogind.sessionChanges = g_dbus_connection_signal_subscribe(
        gLogind.bus, kLogind, kProperties, "PropertiesChanged", gLogind.sessionPath.c_str(),
        kSession, G_DBUS_SIGNAL_FLAGS_NONE, onPropertiesChanged, nullptr, nullptr);
    readProperty(gLogind.sessionPath.c_str(), kSession, "LockedHint", onLockedHint, true);
}

static void onSessionId(GVariant* value) {
    if (!value || !g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) return;
    ask(kManagerPath, kManager, "GetSession",
        g_variant_new("(s)", g_variant_get_string(value, nullptr)), onSessionPath, true);
}

// A user service has no XDG_SESSION_ID: logind's "auto" session is then the user's graphical one.
// Its changes are told on the session's own path, so that is looked up.
static void findSession() {
    const char* id = std::getenv("XDG_SESSION_ID");
    if (id && *id) {
        ask(kManagerPath, kManager, "GetSession", g_variant_new("(s)", id), onSessionPath, true);
    } else {
        readProperty(kAutoSessionPath, kSession, "Id", onSessionId, true);
    }
}

// ---- sleep -------------------------------------------------------------------------------------

static void onSleepDelay(GObject* bus, GAsyncResult* result, gpointer) {
    GUnixFDList* descriptors = nullptr;
    GVariant* reply = g_dbus_connection_call_with_unix_fd_list_finish(
        G_DBUS_CONNECTION(bus), &descriptors, result, nullptr);
    if (reply && descriptors && g_unix_fd_list_get_length(descriptors) == 1) {
        releaseSleepDelay();
        gLogind.sleepDelay = g_unix_fd_list_get(descriptors, 0, nullptr);
    }
    if (reply) g_variant_unref(reply);
    if (descriptors) g_object_unref(descriptors);
}

static void takeSleepDelay() {
    g_dbus_connection_call_with_unix_fd_list(
        gLogind.bus, kLogind, kManagerPath, kManager, "Inhibit",
        g_variant_new("(ssss)", "sleep", "Skyfold", "Locking the session before it sleeps",
                      "delay"),
        G_VARIANT_TYPE("(h)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, kAnswerMilliseconds, nullptr,
        gLogind.reading, onSleepDelay, nullptr);
}

void releaseSleepDelay() {
    if (gLogind.sleepDelay >= 0) close(gLogind.sleepDelay);
    gLogind.sleepDelay = -1;
}

static void onPrepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                              const gchar*, GVariant* parameters, gpointer) {
    gboolean sleeping = FALSE;
    g_variant_get(parameters, "(b)", &sleeping);
    if (sleeping) {
        gLogind.reports->sleepComing();
    } else if (gLogind.delaySleep) {
        takeSleepDelay();
    }
}

// ---- logind coming and going -------------------------------------------------------------------

static void onAppeared(GDBusConnection*, const gchar*, const gchar*, gpointer) {
    if (gLogind.seen) gLogind.reports->serviceMoved(kLogind, true);
    gLogind.seen = true;
    gLogind.reading = g_cancellable_new();
    readProperty(kManagerPath, kManager, "BlockInhibited", onBlockInhibited, true);
    findSession();
    if (gLogind.delaySleep) takeSleepDelay();
    if (gLogind.firstOwnerDue) {
        gLogind.firstOwnerDue = false;
        gLogind.reports->readDone();
    }
}

static void onVanished(GDBusConnection*, const gchar*, gpointer) {
    if (gLogind.seen) gLogind.reports->serviceMoved(kLogind, false);
    if (gLogind.reading) {
        g_cancellable_cancel(gLogind.reading);
        g_clear_object(&gLogind.reading);
    }
    if (gLogind.sessionChanges != 0) {
        g_dbus_connection_signal_unsubscribe(gLogind.bus, gLogind.sessionChanges);
    }
    gLogind.sessionChanges = 0;
    gLogind.sessionPath.clear();
    releaseSleepDelay();
    gLogind.reports->inhibits(kLogindInhibits, false);
    gLogind.reports->lockSign(kLogindLocked, false);
    if (gLogind.firstOwnerDue) {
        gLogind.firstOwnerDue = false;
        gLogind.reports->readDone();
    }
}

void watchLogind(const IdleReports* reports, bool delaySleep) {
    gLogind.reports = reports;
    gLogind.delaySleep = delaySleep;
    gLogind.bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr);
    if (!gLogind.bus) return;
    g_dbus_connection_set_exit_on_close(gLogind.bus, FALSE);  // the session lives on without it
    g_dbus_connection_signal_subscribe(gLogind.bus, kLogind, kProperties, "PropertiesChanged",
                                       kManagerPath, kManager, G_DBUS_SIGNAL_FLAGS_NONE,
                                       onPropertiesChanged, nullptr, nullptr);
    g_dbus_connection_signal_subscribe(gLogind.bus, kLogind, kManager, "PrepareForSleep",
                                       kManagerPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                       onPrepareForSleep, nullptr, nullptr);
    gLogind.firstOwnerDue = true;
    reports->readAsked();
    g_bus_watch_name_on_connection(gLogind.bus, kLogind, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                   onAppeared, onVanished, nullptr, nullptr);
}

void lockThroughLogind() {
    if (!gLogind.bus || !gLogind.reading) return;
    const char* path = gLogind.sessionPath.empty() ? kAutoSessionPath : gLogind.sessionPath.c_str();
    call(path, kSession, "Lock", nullptr, nullptr, nullptr, nullptr);
}
