// How one stored setting becomes a number: a value read back in full (at most 4 bytes) gives the
// number its bytes make, little-endian, with any bytes it lacks taken as 0; anything else (no key,
// no value, a longer value) gives the setting's default. The store reads through this.
#pragma once

#include <cstdint>

const uint32_t kSettingValueBytes = 4;

// bytes holds `size` bytes as read from the store when `read` is true.
int32_t settingFromStoredValue(bool read, const uint8_t* bytes, uint32_t size, int32_t fallback);
