// The scene's pictures where there are no resources (the Linux program, the browser): the .bmp
// files compiled into the program. A resource on Windows is the same file without its 14-byte
// file header, which is all that is taken off here.
#include "scene/scene_platform.h"
#include "scene/embedded_bitmaps.h"

static const size_t kFileHeaderBytes = 14;  // "BM", file size, reserved, pixel offset

const uint8_t* sceneBitmapResource(int bitmapId, size_t* bytes) {
    *bytes = 0;
    for (int i = 0; i < kEmbeddedBitmapCount; ++i) {
        const EmbeddedBitmap& bitmap = kEmbeddedBitmaps[i];
        const size_t size = static_cast<size_t>(bitmap.end - bitmap.begin);
        if (bitmap.id != bitmapId || size < kFileHeaderBytes) continue;
        if (bitmap.begin[0] != 'B' || bitmap.begin[1] != 'M') continue;
        *bytes = size - kFileHeaderBytes;
        return bitmap.begin + kFileHeaderBytes;
    }
    return nullptr;
}
