// The OpenGL 1.1 layer's texture atlas: shelf layout of its pictures and their copy, with a frame
// of edge texels, into the atlas's texels. Portable C++, checked by the native tests.
#include "scene/web/gl11_atlas.h"

#include <cstring>

namespace {

const int32_t kNarrowestAtlasTexels = 1024;  // wide enough for several pictures a shelf
const int32_t kMostAtlasTexels = 4096;       // a side every WebGL of today draws
const int32_t kTexelBytes = 4;

int32_t framed(int32_t texels) {
    return texels + 2 * kAtlasPadTexels;
}

size_t rowBytes(const AtlasPicture& picture) {
    const size_t row = static_cast<size_t>(picture.width) * kTexelBytes;
    return (row + picture.alignment - 1) / picture.alignment * picture.alignment;
}

int32_t clampTo(int32_t value, int32_t last) {
    return value < 0 ? 0 : value > last ? last : value;
}

}  // namespace

void layOutAtlas(const AtlasPicture* pictures, size_t count, AtlasPlace* places, int32_t* width,
                 int32_t* height) {
    int32_t atlasWidth = kNarrowestAtlasTexels;
    for (size_t k = 0; k < count; ++k) {
        const int32_t wide = framed(pictures[k].width);
        if (wide > atlasWidth && wide <= kMostAtlasTexels) atlasWidth = wide;
    }
    int32_t shelfX = 0, shelfY = 0, shelfHeight = 0, widest = 0;
    for (size_t k = 0; k < count; ++k) {
        const int32_t wide = framed(pictures[k].width), high = framed(pictures[k].height);
        places[k] = AtlasPlace{-1, -1};
        if (wide > atlasWidth) continue;
        if (shelfX + wide > atlasWidth) {  // the next shelf
            shelfY += shelfHeight;
            shelfX = shelfHeight = 0;
        }
        if (shelfY + high > kMostAtlasTexels) continue;
        places[k] = AtlasPlace{shelfX + kAtlasPadTexels, shelfY + kAtlasPadTexels};
        shelfX += wide;
        if (high > shelfHeight) shelfHeight = high;
        if (shelfX > widest) widest = shelfX;
    }
    *width = widest ? atlasWidth : 0;
    *height = widest ? shelfY + shelfHeight : 0;
}

void copyIntoAtlas(const AtlasPicture& picture, AtlasPlace place, uint8_t* atlas, int32_t width) {
    const size_t pictureRow = rowBytes(picture);
    for (int32_t y = -kAtlasPadTexels; y < picture.height + kAtlasPadTexels; ++y) {
        const uint8_t* from = picture.pixels + pictureRow * clampTo(y, picture.height - 1);
        uint8_t* to = atlas + (static_cast<size_t>(place.y + y) * width + place.x) * kTexelBytes;
        for (int32_t x = -kAtlasPadTexels; x < 0; ++x) {
            std::memcpy(to + x * kTexelBytes, from, kTexelBytes);
        }
        std::memcpy(to, from, static_cast<size_t>(picture.width) * kTexelBytes);
        const uint8_t* last = from + (picture.width - 1) * kTexelBytes;
        for (int32_t x = picture.width; x < picture.width + kAtlasPadTexels; ++x) {
            std::memcpy(to + x * kTexelBytes, last, kTexelBytes);
        }
    }
}
