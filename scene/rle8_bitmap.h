// Decoding of the program's 8-bit palette bitmaps (packed DIBs, RLE8-compressed or plain) into
// RGBA texels, top row first, with an optional colour key. Pure byte arithmetic: every read is
// bounds-checked, so a damaged resource can only give a wrong picture, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>

struct BitmapSize {
    int32_t width;
    int32_t height;
};

// The size a packed DIB declares, or {0, 0} when its header cannot be read.
BitmapSize packedBitmapSize(const uint8_t* dib, size_t dibBytes);

// Decodes a packed DIB of exactly width x height pixels into rgba (width * height * 4 bytes).
// With colourKey set, every texel of the top-left pixel's exact colour gets alpha 0, all others
// 255. Returns false (rgba zero-filled) for a bitmap that is not 8-bit, not that size, or damaged.
bool decodePackedBitmap(const uint8_t* dib, size_t dibBytes, int32_t width, int32_t height,
                        bool colourKey, uint8_t* rgba);
