// Fuzzes bitmap decoding: any bytes, presented as a packed DIB, decode or are refused without
// touching memory outside the input and the image.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/rle8_bitmap.h"

static const int32_t kLargestSidePixels = 512;  // keeps each run's image small

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const BitmapSize declared = packedBitmapSize(data, size);
    const int32_t width = declared.width > 0 && declared.width <= kLargestSidePixels ? declared.width : 4;
    const int32_t height =
        declared.height > 0 && declared.height <= kLargestSidePixels ? declared.height : 4;
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    const bool keyed = size > 0 && (data[size - 1] & 1);
    decodePackedBitmap(data, size, width, height, keyed, rgba.data());
    return 0;
}
