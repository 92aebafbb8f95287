// The text of the settings file that the Linux build keeps instead of the registry, and the page in
// its storage: one "Name=value" line per setting, with the registry's value names and decimal
// values. Reading finds a setting's value in the text; writing rewrites the text with the three
// settings and keeps every other line as it was. Pure text arithmetic; the platform's store reads
// and writes the file itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/saver_settings.h"

const size_t kMaxSettingsFileBytes = 64 * 1024;  // more is not a settings file; the rest is unread

// The value of the named setting. The last line that names it decides: when that line's value is
// not a decimal 32-bit number (or no line names it) the result is false and the caller's default
// stands. Names compare without regard to ASCII case, as registry value names do.
bool findSettingValue(const char* text, size_t bytes, const char* name, int32_t* value);

// All three settings read from the text, each missing or malformed one at its default.
SaverSettings settingsFromText(const char* text, size_t bytes);

// The text with the three settings written in: the first line naming each setting is replaced
// (keeping its line ending), later ones naming it are dropped, missing ones are appended. Every
// line that names none of them stays byte for byte.
std::string settingsTextWith(const std::string& text, const SaverSettings& settings);

// Settings given on the command line, which stand in for the stored ones for one run.
struct SettingOverrides {
    bool noteCountGiven;
    bool viewAngleGiven;
    bool currencyGiven;
    SaverSettings values;  // only the given fields are read
};

void applySettingOverrides(const SettingOverrides& overrides, SaverSettings& settings);
