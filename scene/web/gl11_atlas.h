// Where the OpenGL 1.1 layer's pictures lie in one texture atlas, and the atlas's texels: each
// picture keeps a rectangle of its own, framed by copies of its edge texels, so that coordinates
// from 0 to 1, clamped or filtered linearly, read exactly what a texture of its own would give.
#pragma once

#include <cstddef>
#include <cstdint>

const int32_t kAtlasPadTexels = 2;  // of edge copies around each picture: linear filtering at a
                                    // picture's edge reads one, float rounding a fraction more

// A picture as glTexImage2D gave it: RGBA bytes, bottom row (t = 0) first, every row but the last
// padded to `alignment` bytes.
struct AtlasPicture {
    int32_t width, height, alignment;
    const uint8_t* pixels;
};

// Where a picture's texel (0, 0) lies in the atlas; x is -1 for a picture it has no room for.
struct AtlasPlace {
    int32_t x, y;
};

// Lays the pictures out in the given order, on shelves as wide as the atlas, and gives the atlas's
// size (0 by 0 where none fits). A picture that would make the atlas wider or taller than WebGL
// can be relied on to draw is left out.
void layOutAtlas(const AtlasPicture* pictures, size_t count, AtlasPlace* places, int32_t* width,
                 int32_t* height);

// Copies the picture with its frame of edge copies into the atlas's RGBA texels (rows of `width`
// texels, unpadded).
void copyIntoAtlas(const AtlasPicture& picture, AtlasPlace place, uint8_t* atlas, int32_t width);
