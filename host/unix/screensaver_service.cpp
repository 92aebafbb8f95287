// org.freedesktop.ScreenSaver's Inhibit and UnInhibit, served at /org/freedesktop/ScreenSaver and
// /ScreenSaver: the book of requests, each dropped when its caller leaves the bus, and all of them,
// with both objects, when the name goes to a desktop that takes it over.
#include "host/unix/screensaver_service.h"

#include <map>
#include <string>

static struct {
    GDBusConnection* bus;
    const IdleReports* reports;
    guint ownerId;                               // 0 while not serving
    guint objects[2];                            // registered while the name is ours
    InhibitBook book;
    std::map<std::string, guint> callerWatches;  // a name watch per caller holding a request
} gService;

static const char kServiceName[] = "org.freedesktop.ScreenSaver";
static const char* const kObjectPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
static const char kRefusedError[] = "org.freedesktop.DBus.Error.LimitsExceeded";
static const char kInterfaceXml[] =
    "<node><interface name='org.freedesktop.ScreenSaver'>"
    "<method name='Inhibit'><arg type='s' name='application_name' direction='in'/>"
    "<arg type='s' name='reason_for_inhibit' direction='in'/>"
    "<arg type='u' name='cookie' direction='out'/></method>"
    "<method name='UnInhibit'><arg type='u' name='cookie' direction='in'/></method>"
    "</interface></node>";

static void reportBook() {
    gService.reports->inhibits(kServedInhibits, !gService.book.held.empty());
}

static void forgetCaller(const char* caller) {
    const auto watch = gService.callerWatches.find(caller);
    if (watch == gService.callerWatches.end()) return;
    g_bus_unwatch_name(watch->second);
    gService.callerWatches.erase(watch);
}

static void onCallerVanished(GDBusConnection*, const gchar* caller, gpointer) {
    dropCaller(&gService.book, caller);
    forgetCaller(caller);
    reportBook();
}

static void watchCaller(const char* caller) {
    if (gService.callerWatches.count(caller) != 0) return;
    gService.callerWatches[caller] = g_bus_watch_name_on_connection(
        gService.bus, caller, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr, onCallerVanished, nullptr,
        nullptr);
}

static void onMethodCall(GDBusConnection*, const gchar* caller, const gchar*, const gchar*,
                         const gchar* method, GVariant* parameters,
                         GDBusMethodInvocation* invocation, gpointer) {
    if (g_strcmp0(method, "Inhibit") == 0) {
        const uint32_t cookie = addInhibit(&gService.book, caller);
        if (cookie == 0) {
            g_dbus_method_invocation_return_dbus_error(
                invocation, kRefusedError, "too many requests not to start the screen saver");
            return;
        }
        watchCaller(caller);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", cookie));
    } else {
        guint32 cookie = 0;
        g_variant_get(parameters, "(u)", &cookie);
        removeInhibit(&gService.book, cookie, caller);  // an unknown cookie is no error
        if (!callerHolds(gService.book, caller)) forgetCaller(caller);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }
    reportBook();
}

static const GDBusInterfaceVTable kVTable = {onMethodCall, nullptr, nullptr, {}};

static void onNameAcquired(GDBusConnection* bus, const gchar*, gpointer) {
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterfaceXml, nullptr);
    for (size_t i = 0; i < G_N_ELEMENTS(kObjectPaths); ++i) {
        gService.objects[i] = g_dbus_connection_register_object(
            bus, kObjectPaths[i], node->interfaces[0], &kVTable, nullptr, nullptr, nullptr);
    }
    g_dbus_node_info_unref(node);
}

static void dropObjectsAndBook() {
    for (guint& object : gService.objects) {
        if (object != 0) g_dbus_connection_unregister_object(gService.bus, object);
        object = 0;
    }
    for (const auto& watch : gService.callerWatches) g_bus_unwatch_name(watch.second);
    gService.callerWatches.clear();
    const bool held = !gService.book.held.empty();
    gService.book.held.clear();
    if (held) reportBook();
}

// Taken over by a desktop, or never had, when another owned it already.
static void onNameLost(GDBusConnection*, const gchar*, gpointer) {
    stopServingScreenSaver();
}

void serveScreenSaver(GDBusConnection* sessionBus, const IdleReports* reports) {
    if (gService.ownerId != 0) return;
    gService.bus = sessionBus;
    gService.reports = reports;
    gService.ownerId = g_bus_own_name_on_connection(
        sessionBus, kServiceName,
        static_cast<GBusNameOwnerFlags>(G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE |
                                        G_BUS_NAME_OWNER_FLAGS_ALLOW_REPLACEMENT),
        onNameAcquired, onNameLost, nullptr, nullptr);
}

void stopServingScreenSaver() {
    if (gService.ownerId == 0) return;
    g_bus_unown_name(gService.ownerId);
    gService.ownerId = 0;
    dropObjectsAndBook();
}

bool servingScreenSaver() {
    return gService.ownerId != 0;
}
