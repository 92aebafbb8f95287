// The settings store in the browser: one localStorage item, "Quillmark/Skyfold", with the text of
// the Linux settings file (settings/settings_file.h), so that the same lines mean the same there.
// A page that may not use storage (blocked, full, private) loads the defaults, and a save that
// storage refuses is reported on the page and returns false.
#include "settings/web/settings_store.h"

#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <string>

SaverSettings saverSettings = {kDefaultNoteCount, kDefaultViewAngle, kDefaultCurrency};

static struct {
    SettingOverrides overrides;
} gStore;

// The stored text (up to kMaxSettingsFileBytes), malloc'd, or null when there is none or storage
// cannot be read.
EM_JS(char*, readStoredText, (size_t mostBytes), {
    var text = null;
    try {
        text = window.localStorage.getItem('Quillmark/Skyfold');
    } catch (error) {
        return 0;
    }
    if (text === null) return 0;
    var bytes = Math.min(lengthBytesUTF8(text), mostBytes);
    var copy = _malloc(bytes + 1);
    stringToUTF8(text, copy, bytes + 1);
    return copy;
});

// Writes the text; false after the page has shown why storage refused it.
EM_JS(bool, writeStoredText, (const char* text), {
    try {
        window.localStorage.setItem('Quillmark/Skyfold', UTF8ToString(text));
        return true;
    } catch (error) {
        if (typeof skyfoldShowSaveFailure === 'function') {
            skyfoldShowSaveFailure(String(error && error.name ? error.name : error));
        }
        return false;
    }
});

static std::string storedText() {
    char* text = readStoredText(kMaxSettingsFileBytes);
    if (!text) return std::string();
    std::string copy(text);
    std::free(text);
    return copy;
}

void setSettingOverrides(const SettingOverrides& overrides) {
    gStore.overrides = overrides;
}

void loadSettings() {
    const std::string text = storedText();
    saverSettings = settingsFromText(text.data(), text.size());
    applySettingOverrides(gStore.overrides, saverSettings);
}

// Lines of the stored text that name none of the settings stay as they were.
bool saveSettings() {
    const std::string text = settingsTextWith(storedText(), saverSettings);
    return writeStoredText(text.c_str());
}
