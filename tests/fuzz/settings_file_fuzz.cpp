// Fuzzes the settings file's text: any bytes must read without a crash, and writing the settings
// into them must give a text that reads back as exactly those settings.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SaverSettings read = settingsFromText(text.data(), text.size());
    const SaverSettings chosen = {read.noteCount ^ 0x5A5A, read.viewAngle + 1, -read.currencyType};
    const std::string written = settingsTextWith(text, chosen);
    const SaverSettings back = settingsFromText(written.data(), written.size());
    if (back.noteCount != chosen.noteCount || back.viewAngle != chosen.viewAngle ||
        back.currencyType != chosen.currencyType) {
        __builtin_trap();
    }
    return 0;
}
