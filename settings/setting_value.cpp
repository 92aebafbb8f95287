// Decoding of a stored setting's bytes, independent of where they are stored.
#include "settings/setting_value.h"

int32_t settingFromStoredValue(bool read, const uint8_t* bytes, uint32_t size, int32_t fallback) {
    if (!read || size > kSettingValueBytes || (size > 0 && !bytes)) return fallback;
    uint32_t value = 0;
    for (uint32_t i = 0; i < size; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return static_cast<int32_t>(value);
}
