#include "scene/palette_ramp.h"

#include <gtest/gtest.h>

TEST(PaletteRamp, NeedsTwoToTheDepthEntriesAtMost256) {
    EXPECT_EQ(2, paletteEntryCount(1));
    EXPECT_EQ(16, paletteEntryCount(4));
    EXPECT_EQ(256, paletteEntryCount(8));
    EXPECT_EQ(256, paletteEntryCount(16));
    EXPECT_EQ(256, paletteEntryCount(32));
    EXPECT_EQ(256, paletteEntryCount(255));
}

TEST(PaletteRamp, DecodesAThreeThreeTwoFormat) {
    // 8-bit RGB 3-3-2: red in bits 0-2, green in 3-5, blue in 6-7.
    const uint32_t white = 0xFF, orange = 0x07 | (0x03 << 3), navy = 0x02 << 6;
    EXPECT_EQ(255, paletteRampValue(white, 3, 0));
    EXPECT_EQ(255, paletteRampValue(white, 3, 3));
    EXPECT_EQ(255, paletteRampValue(white, 2, 6));
    EXPECT_EQ(255, paletteRampValue(orange, 3, 0));
    EXPECT_EQ(109, paletteRampValue(orange, 3, 3));   // 3 * 255 / 7, truncated
    EXPECT_EQ(0, paletteRampValue(orange, 2, 6));
    EXPECT_EQ(170, paletteRampValue(navy, 2, 6));     // 2 * 255 / 3
}

TEST(PaletteRamp, AChannelWithoutBitsContributesNothing) {
    for (uint32_t index = 0; index < 256; ++index) EXPECT_EQ(0, paletteRampValue(index, 0, 0));
    EXPECT_EQ(0, paletteRampValue(0xFF, 0, 5));
    EXPECT_EQ(0, paletteRampValue(0xFF, 4, 40));      // a shift past the word: no pixel bits
}
