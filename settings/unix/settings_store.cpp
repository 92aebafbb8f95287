// The settings store on Linux: $XDG_CONFIG_HOME/Quillmark/Skyfold.conf, read whole (up to a size
// that no settings file reaches) and only when it is a regular file, so that a damaged, huge or
// unreadable file, or a pipe in its place, gives the defaults rather than a hang or a crash.
// Saving, which only the settings dialog does, is in settings_save.cpp.
#include "settings/unix/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/unix/user_files.h"

SaverSettings saverSettings;

static struct {
    SettingOverrides overrides;
} gStore;

static const char kSettingsFolder[] = "Quillmark";
static const char kSettingsFileName[] = "Skyfold.conf";

static std::string configFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;  // a relative path is not a valid value
    return homeFolder() + "/.config";
}

std::string settingsFilePath() {
    return configFolder() + "/" + kSettingsFolder + "/" + kSettingsFileName;
}

void setSettingOverrides(const SettingOverrides& overrides) {
    gStore.overrides = overrides;
}

// The file's first kMaxSettingsFileBytes bytes; empty when it is missing, unreadable or not a
// regular file.
static std::vector<char> readSettingsFile() {
    std::vector<char> text;
    const int file = open(settingsFilePath().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) return text;
    struct stat status;
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        text.resize(kMaxSettingsFileBytes);
        size_t filled = 0;
        while (filled < text.size()) {
            const ssize_t got = read(file, text.data() + filled, text.size() - filled);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            filled += static_cast<size_t>(got);
        }
        text.resize(filled);
    }
    close(file);
    return text;
}

void loadSettings() {
    const std::vector<char> text = readSettingsFile();
    saverSettings = settingsFromText(text.data(), text.size());
    applySettingOverrides(gStore.overrides, saverSettings);
}
