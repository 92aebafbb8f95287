// Textures from the program's 8-bit palette bitmaps. The pixels come straight from the resource's
// palette and RLE8 data (no GDI reads), top row first, so t = 0 is the picture's top edge.
#include "scene/note_textures.h"

#include <cstdlib>

#include "scene/gl_api.h"
#include "scene/rle8_bitmap.h"
#include "scene/scene_platform.h"

unsigned int textureSlots[kTextureSlotCount] = {0};

static const int kNoteSlots = 10;
static const int32_t kNoteWidthTexels = 256;
static const int32_t kNoteHeightTexels = 128;

// Bitmap resource of slots 1 to 10 by currency: serial-number / portrait / bridge-and-map sides
// in the odd slots; slot pairs are the 50, 5, 10, 20 and 100 notes.
static const int kCurrencyBitmaps[3][kNoteSlots] = {
    {102, 103, 104, 105, 106, 107, 108, 109, 130, 131},  // Australian dollars
    {116, 117, 110, 111, 112, 113, 114, 115, 128, 129},  // American dollars
    {124, 125, 118, 119, 120, 121, 122, 123, 126, 127},  // Euros
};

static void reportAllocationFailure() {
    showSceneError("Error", "Error alocating texture memory!!");
    quitSceneRun();
}

static void decodeResource(int bitmapId, int32_t width, int32_t height, bool colourKey,
                           uint8_t* image) {
    size_t bytes = 0;
    const uint8_t* dib = sceneBitmapResource(bitmapId, &bytes);
    decodePackedBitmap(dib, dib ? bytes : 0, width, height, colourKey, image);
}

static void uploadTexture(int slot, int32_t width, int32_t height, const uint8_t* image) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GLuint name = 0;
    glGenTextures(1, &name);
    textureSlots[slot] = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image);
}

void loadBitmapTexture(int bitmapId, int slot, int32_t width, int32_t height, bool colourKey) {
    uint8_t* image = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(width) * height * 4));
    if (!image) {
        reportAllocationFailure();
        return;
    }
    decodeResource(bitmapId, width, height, colourKey, image);
    uploadTexture(slot, width, height, image);
    std::free(image);
}

void loadCurrencyTextures(int32_t currencyType) {
    if (currencyType < 0 || currencyType > 2) return;
    for (int slot = 1; slot <= kNoteSlots; ++slot) {
        loadBitmapTexture(kCurrencyBitmaps[currencyType][slot - 1], slot, kNoteWidthTexels,
                          kNoteHeightTexels, false);
    }
}
