// org.freedesktop.ScreenSaver's Inhibit and UnInhibit, served where no desktop does (sway,
// Hyprland and the like): the book of requests, each dropped when its caller leaves the bus, and
// all of them when a desktop takes the name over.
#include <map>
#include <string>

#include "host/idle_rules.h"
#include "host/unix/inhibit_watches.h"

static struct {
    const IdleReports* reports;
    InhibitBook book;
    std::map<std::string, guint> callerWatches;  // a name watch per caller holding a request
    bool owned;                                  // the bus gave the watcher the name
} gService;

static const char kServiceName[] = "org.freedesktop.ScreenSaver";
static const char* const kObjectPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
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

static void watchCaller(GDBusConnection* bus, const char* caller) {
    if (gService.callerWatches.count(caller) != 0) return;
    gService.callerWatches[caller] = g_bus_watch_name_on_connection(
        bus, caller, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr, onCallerVanished, nullptr, nullptr);
}

static void onMethodCall(GDBusConnection* bus, const gchar* caller, const gchar*, const gchar*,
                         const gchar* method, GVariant* parameters,
                         GDBusMethodInvocation* invocation, gpointer) {
    if (g_strcmp0(method, "Inhibit") == 0) {
        const uint32_t cookie = addInhibit(&gService.book, caller);
        watchCaller(bus, caller);
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

static void onNameAcquired(GDBusConnection*, const gchar*, gpointer) {
    gService.owned = true;
}

// Lost to a desktop that took the name over (or never had, when the bus refused it).
static void onNameLost(GDBusConnection* bus, const gchar*, gpointer) {
    if (!gService.owned) return;
    gService.owned = false;
    gService.book.held.clear();
    for (const auto& watch : gService.callerWatches) g_bus_unwatch_name(watch.second);
    gService.callerWatches.clear();
    reportBook();
    followDesktopInhibits(bus);
}

static const GDBusInterfaceVTable kVTable = {onMethodCall, nullptr, nullptr, {}};

bool serveScreenSaver(GDBusConnection* sessionBus, const IdleReports* reports) {
    if (busNameOwned(sessionBus, kServiceName)) return false;
    gService.reports = reports;
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterfaceXml, nullptr);
    for (const char* path : kObjectPaths) {
        g_dbus_connection_register_object(sessionBus, path, node->interfaces[0], &kVTable,
                                          nullptr, nullptr, nullptr);
    }
    g_dbus_node_info_unref(node);
    // NOTE: a desktop that starts after the watcher may take the name over; its book then holds
    // the requests, and the watcher follows it.
    g_bus_own_name_on_connection(
        sessionBus, kServiceName,
        static_cast<GBusNameOwnerFlags>(G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE |
                                        G_BUS_NAME_OWNER_FLAGS_ALLOW_REPLACEMENT),
        onNameAcquired, onNameLost, nullptr, nullptr);
    return true;
}
