// Packed-DIB decoding for the scene's textures: header, palette, and the 8-bit pixel data either
// uncompressed or RLE8 (encoded runs, absolute runs, end of line, end of bitmap, delta).
#include "scene/rle8_bitmap.h"

#include <cstring>

static const uint32_t kInfoHeaderBytes = 40;
static const uint32_t kCompressionNone = 0;  // BI_RGB
static const uint32_t kCompressionRle8 = 1;  // BI_RLE8
static const uint32_t kPaletteLimit = 256;
static const uint8_t kOpaque = 255;

struct DibHeader {
    uint32_t headerBytes;
    int32_t width;
    int32_t height;  // positive: bottom-up rows
    uint16_t bitCount;
    uint32_t compression;
    uint32_t paletteEntries;
};

static uint32_t readU32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

static bool readHeader(const uint8_t* dib, size_t dibBytes, DibHeader& header) {
    if (!dib || dibBytes < kInfoHeaderBytes) return false;
    header.headerBytes = readU32(dib);
    header.width = static_cast<int32_t>(readU32(dib + 4));
    header.height = static_cast<int32_t>(readU32(dib + 8));
    header.bitCount = static_cast<uint16_t>(dib[14] | (dib[15] << 8));
    header.compression = readU32(dib + 16);
    header.paletteEntries = readU32(dib + 32);
    if (header.paletteEntries == 0) header.paletteEntries = kPaletteLimit;
    // A height of INT32_MIN has no positive counterpart: no real bitmap is that tall.
    return header.headerBytes >= kInfoHeaderBytes && header.headerBytes <= dibBytes &&
           header.paletteEntries <= kPaletteLimit && header.width > 0 && header.height != 0 &&
           header.height != INT32_MIN;
}

BitmapSize packedBitmapSize(const uint8_t* dib, size_t dibBytes) {
    DibHeader header;
    if (!readHeader(dib, dibBytes, header)) return {0, 0};
    return {header.width, header.height < 0 ? -header.height : header.height};
}

// Palette indices, one byte a pixel, top row first; skipped pixels stay index 0.
class IndexImage {
public:
    IndexImage(uint8_t* indices, int32_t width, int32_t height, bool bottomUp)
        : indices_(indices), width_(width), height_(height), bottomUp_(bottomUp) {}

    void put(int32_t x, int32_t row, uint8_t index) {
        if (x < 0 || x >= width_ || row < 0 || row >= height_) return;
        const int32_t y = bottomUp_ ? height_ - 1 - row : row;
        indices_[static_cast<size_t>(y) * width_ + x] = index;
    }

private:
    uint8_t* indices_;
    int32_t width_, height_;
    bool bottomUp_;
};

static bool decodeRle8(const uint8_t* data, size_t bytes, IndexImage& image, int32_t height) {
    size_t at = 0;
    int32_t x = 0, row = 0;
    while (at + 1 < bytes && row < height) {
        const uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {                                  // encoded run
            for (int i = 0; i < count; ++i) image.put(x++, row, value);
        } else if (value == 0) {                          // end of line
            x = 0;
            ++row;
        } else if (value == 1) {                          // end of bitmap
            return true;
        } else if (value == 2) {                          // delta
            if (at + 1 >= bytes) return false;
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {                                          // absolute run, padded to a word
            if (at + value > bytes) return false;
            for (int i = 0; i < value; ++i) image.put(x++, row, data[at + i]);
            at += value + (value & 1);
        }
    }
    return row >= height || at + 1 >= bytes;
}

static bool copyUncompressed(const uint8_t* data, size_t bytes, IndexImage& image, int32_t width,
                             int32_t height) {
    const size_t stride = (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
    if (stride * height > bytes) return false;
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t x = 0; x < width; ++x) image.put(x, row, data[row * stride + x]);
    }
    return true;
}

static void paletteToRgba(const uint8_t* palette, uint32_t entries, const uint8_t* indices,
                          size_t pixels, bool colourKey, uint8_t* rgba) {
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t index = indices[i];
        const uint8_t* bgrx = palette + 4 * (index < entries ? index : 0);
        rgba[4 * i] = bgrx[2];
        rgba[4 * i + 1] = bgrx[1];
        rgba[4 * i + 2] = bgrx[0];
        rgba[4 * i + 3] = kOpaque;
    }
    if (!colourKey || pixels == 0) return;
    uint8_t key[3];
    std::memcpy(key, rgba, 3);  // the top-left pixel
    for (size_t i = 0; i < pixels; ++i) {
        if (std::memcmp(rgba + 4 * i, key, 3) == 0) rgba[4 * i + 3] = 0;
    }
}

bool decodePackedBitmap(const uint8_t* dib, size_t dibBytes, int32_t width, int32_t height,
                        bool colourKey, uint8_t* rgba) {
    const size_t pixels = static_cast<size_t>(width) * height;
    std::memset(rgba, 0, pixels * 4);
    DibHeader header;
    if (!readHeader(dib, dibBytes, header) || header.bitCount != 8 || header.width != width ||
        (header.height != height && header.height != -height)) {
        return false;
    }
    const size_t paletteBytes = 4 * static_cast<size_t>(header.paletteEntries);
    const size_t dataOffset = header.headerBytes + paletteBytes;
    if (dataOffset > dibBytes) return false;

    // The indices are decoded into the alpha bytes' space first: rgba has 4 bytes a pixel, and the
    // index plane fits in its last quarter without overlapping what paletteToRgba writes first.
    uint8_t* indices = rgba + pixels * 3;
    IndexImage image(indices, width, height, header.height > 0);
    const uint8_t* data = dib + dataOffset;
    const size_t dataBytes = dibBytes - dataOffset;
    bool decoded = false;
    if (header.compression == kCompressionRle8) {
        decoded = decodeRle8(data, dataBytes, image, height);
    } else if (header.compression == kCompressionNone) {
        decoded = copyUncompressed(data, dataBytes, image, width, height);
    }
    if (!decoded) {
        std::memset(rgba, 0, pixels * 4);
        return false;
    }
    paletteToRgba(dib + header.headerBytes, header.paletteEntries, indices, pixels, colourKey, rgba);
    return true;
}
