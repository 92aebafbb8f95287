// The settings store in the browser: the page's localStorage under "Quillmark/Skyfold", holding
// the same text as the Linux settings file. Browser only.
#pragma once
#ifndef __EMSCRIPTEN__
#error "settings/web/settings_store.h belongs to the browser build"
#endif

#include "settings/settings_file.h"

// Settings that stand in for the stored ones for this page's run (its URL query, a host's
// panel); loadSettings applies them over what is stored.
void setSettingOverrides(const SettingOverrides& overrides);
