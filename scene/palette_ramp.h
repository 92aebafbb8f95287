// Colour ramp of the logical palette that an RGBA pixel format of 8 bits or fewer needs: entry i
// holds the colour that the display shows for pixel value i, decoded from the format's channel
// bit counts and shifts.
#pragma once

#include <cstdint>

const int kMaxPaletteEntries = 256;

// Entries a palette needs for a format of the given colour depth: 2^bits, at most 256.
int paletteEntryCount(int colorBits);

// Intensity (0 to 255) of one channel of pixel value `index`, for a channel of `bits` bits at
// `shift`. A channel of 0 bits contributes nothing (0) rather than dividing by a zero mask.
uint8_t paletteRampValue(uint32_t index, int bits, int shift);
