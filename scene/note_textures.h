// The scene's textures: the banner picture (slot 0, colour-keyed) and the ten note sides of the
// chosen currency (slots 1 to 10), made from the program's bitmap resources.
#pragma once

#include <cstdint>

const int kTextureSlotCount = 11;  // slot 0 the banner, 1 to 10 the note sides in pairs
const int kBannerTextureSlot = 0;

// Texture names by slot; 0 where no texture was made.
extern unsigned int textureSlots[kTextureSlotCount];

// Makes the slot's texture from bitmap resource bitmapId, width x height texels.
void loadBitmapTexture(int bitmapId, int slot, int32_t width, int32_t height, bool colourKey);

// Slots 1 to 10 for currency 0, 1 or 2; nothing for any other value.
void loadCurrencyTextures(int32_t currencyType);
