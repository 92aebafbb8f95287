// Fuzzes the decoding of stored setting values of every length.
#include <cstddef>
#include <cstdint>

#include "settings/setting_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int32_t value = settingFromStoredValue(true, data, static_cast<uint32_t>(size), -7);
    if (size > kSettingValueBytes && value != -7) __builtin_trap();
    return 0;
}
