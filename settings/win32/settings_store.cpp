// The settings store on the Windows registry: three REG_DWORD values under one per-user key.
// Values are kept exactly as stored; the scene and the dialog decide what an odd value means.
#include <windows.h>

#include "settings/saver_settings.h"
#include "settings/setting_value.h"

SaverSettings saverSettings;

static const char kSettingsKey[] = "Software\\Quillmark\\Skyfold";

// The value's type is not checked; a value longer than 4 bytes does not fit and gives the default.
static int32_t readValue(HKEY key, const char* name, int32_t fallback) {
    uint8_t bytes[kSettingValueBytes] = {0};
    DWORD size = sizeof bytes;
    const bool read = key && RegQueryValueExA(key, name, NULL, NULL, bytes, &size) == ERROR_SUCCESS;
    return settingFromStoredValue(read, bytes, size, fallback);
}

void loadSettings() {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) key = NULL;
    saverSettings.noteCount = readValue(key, kNoteCountName, kDefaultNoteCount);
    saverSettings.viewAngle = readValue(key, kViewAngleName, kDefaultViewAngle);
    saverSettings.currencyType = readValue(key, kCurrencyName, kDefaultCurrency);
    if (key) RegCloseKey(key);
}

static void reportSaveFailure(LONG error) {
    char* text = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
                   static_cast<DWORD>(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<char*>(&text), 0, NULL);
    MessageBoxA(NULL, text ? text : "", "GetLastError", MB_OK | MB_ICONINFORMATION);
    LocalFree(text);
}

static void writeValue(HKEY key, const char* name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

bool saveSettings() {
    HKEY key = NULL;
    char emptyClass[] = "";
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, emptyClass,
                                        REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &key, NULL);
    if (status != ERROR_SUCCESS) {
        reportSaveFailure(status);
        return false;
    }
    writeValue(key, kNoteCountName, saverSettings.noteCount);
    writeValue(key, kViewAngleName, saverSettings.viewAngle);
    writeValue(key, kCurrencyName, saverSettings.currencyType);
    RegCloseKey(key);
    return true;
}
