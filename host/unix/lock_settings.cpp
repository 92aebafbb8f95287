// The desktops' own lock settings, read once at the watcher's start: GNOME's automatic screen lock
// (org.gnome.desktop.screensaver lock-enabled and lock-delay) and KDE Plasma's screen locker
// ($XDG_CONFIG_HOME/kscreenlockerrc, Autolock and LockGrace).
#include "host/unix/lock_settings.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstdlib>
#include <string>

static const char kGnomeSchema[] = "org.gnome.desktop.screensaver";
static const char kKdeFile[] = "kscreenlockerrc";

static DesktopLockSettings readGnomeLockSettings() {
    DesktopLockSettings settings = {false, false, 0};
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, kGnomeSchema, TRUE) : nullptr;
    if (!schema) return settings;
    GSettings* gnome = g_settings_new_full(schema, nullptr, nullptr);
    settings = {true, g_settings_get_boolean(gnome, "lock-enabled") != FALSE,
                static_cast<int32_t>(std::min<guint>(g_settings_get_uint(gnome, "lock-delay"),
                                                     kMostIdleSeconds))};
    g_object_unref(gnome);
    g_settings_schema_unref(schema);
    return settings;
}

// A missing file holds KDE's defaults.
static DesktopLockSettings readPlasmaLockSettings() {
    const std::string path = std::string(g_get_user_config_dir()) + "/" + kKdeFile;
    gchar* text = nullptr;
    g_file_get_contents(path.c_str(), &text, nullptr, nullptr);
    const DesktopLockSettings settings = readKdeLockSettings(text ? text : "");
    g_free(text);
    return settings;
}

LockPlan planWatcherLocking(const ProgramOptions& options) {
    const LockDesktop desktop = lockDesktopOf(std::getenv("XDG_CURRENT_DESKTOP"));
    DesktopLockSettings settings = {false, false, 0};
    if (options.lockRule == LockRule::Desktop && desktop == LockDesktop::Gnome) {
        settings = readGnomeLockSettings();
    }
    if (options.lockRule == LockRule::Desktop && desktop == LockDesktop::Plasma) {
        settings = readPlasmaLockSettings();
    }
    return planLocking(options.lockRule, options.lockAfterSeconds, desktop, settings);
}
