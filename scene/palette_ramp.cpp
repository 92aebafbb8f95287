// Palette arithmetic for colour-poor pixel formats, free of Win32 and GL so that it is tested natively.
#include "scene/palette_ramp.h"

static const int kBitsForFullPalette = 8;

int paletteEntryCount(int colorBits) {
    if (colorBits >= kBitsForFullPalette) return kMaxPaletteEntries;
    if (colorBits <= 0) return 1;
    return 1 << colorBits;
}

uint8_t paletteRampValue(uint32_t index, int bits, int shift) {
    if (bits <= 0 || shift < 0 || shift >= 32) return 0;
    const uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
    const uint64_t level = (index >> shift) & mask;
    return static_cast<uint8_t>(level * 255u / mask);
}
