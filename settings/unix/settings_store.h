// The settings store of the Linux build: a text file in the user's configuration folder, read with
// the portable rules of settings/settings_file.h. Saving replaces the file atomically and keeps
// every line that names none of the settings. Linux only.
#pragma once
#ifdef _WIN32
#error "settings/unix/settings_store.h belongs to the Linux build"
#endif

#include <string>

#include "settings/settings_file.h"

// $XDG_CONFIG_HOME/Quillmark/Skyfold.conf, or ~/.config/Quillmark/Skyfold.conf when
// $XDG_CONFIG_HOME is unset, empty or not an absolute path.
std::string settingsFilePath();

// Settings from the command line: every later loadSettings gives them instead of the stored ones.
void setSettingOverrides(const SettingOverrides& overrides);

// Tells the user that saveSettings could not write the file at path; error is the errno of the step
// that failed. The settings dialog, the only caller of saveSettings, shows it.
void reportSettingsSaveFailure(const char* path, int error);
