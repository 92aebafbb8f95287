#include "scene/rle8_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

// A packed DIB: 40-byte header, a palette of `colours` (0xRRGGBB) and the pixel data.
static std::vector<uint8_t> packedDib(int32_t width, int32_t height, uint32_t compression,
                                      const std::vector<uint32_t>& colours,
                                      const std::vector<uint8_t>& data) {
    std::vector<uint8_t> dib(40, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    dib[12] = 1;
    dib[14] = 8;
    put32(16, compression);
    put32(32, static_cast<uint32_t>(colours.size()));
    for (uint32_t rgb : colours) {
        dib.push_back(rgb & 0xFF);
        dib.push_back((rgb >> 8) & 0xFF);
        dib.push_back((rgb >> 16) & 0xFF);
        dib.push_back(0);
    }
    dib.insert(dib.end(), data.begin(), data.end());
    return dib;
}

static const std::vector<uint32_t> kPalette = {0x000033, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

struct Texels {
    std::vector<uint8_t> rgba;
    bool ok;
    uint32_t rgb(int x, int y, int width) const {
        const uint8_t* p = &rgba[4 * (y * width + x)];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
    uint8_t alpha(int x, int y, int width) const { return rgba[4 * (y * width + x) + 3]; }
};

static Texels decode(const std::vector<uint8_t>& dib, int32_t width, int32_t height, bool key) {
    Texels t{std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, 0xAA), false};
    t.ok = decodePackedBitmap(dib.data(), dib.size(), width, height, key, t.rgba.data());
    return t;
}

TEST(Rle8Bitmap, DecodesRunsAbsoluteRunsAndLineEndsBottomRowFirst) {
    // 5x2, bottom-up: the first line of data is the picture's bottom row.
    const std::vector<uint8_t> rle = {
        0x03, 0x01, 0x00, 0x03, 0x02, 0x03, 0x04, 0x00,  // bottom: red x3, absolute [green blue white]
        0x00, 0x00,                                      //   (the absolute run is padded to a word)
        0x05, 0x04, 0x00, 0x00,                          // top: white x5
        0x00, 0x01};
    const Texels t = decode(packedDib(5, 2, 1, kPalette, rle), 5, 2, false);
    ASSERT_TRUE(t.ok);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(0xFFFFFFu, t.rgb(x, 0, 5)) << x;   // top row first
    EXPECT_EQ(0xFF0000u, t.rgb(0, 1, 5));
    EXPECT_EQ(0xFF0000u, t.rgb(2, 1, 5));
    EXPECT_EQ(0x00FF00u, t.rgb(3, 1, 5));
    EXPECT_EQ(0x0000FFu, t.rgb(4, 1, 5));
    EXPECT_EQ(255, t.alpha(4, 1, 5));
}

TEST(Rle8Bitmap, ColourKeyClearsEveryPixelOfTheTopLeftColourAndOnlyThose) {
    // 4x2: top row ground, ground-ish, ground, red; bottom row ground x4 (bottom-up data).
    const std::vector<uint32_t> palette = {0x000033, 0x000034, 0xFF0000};
    const std::vector<uint8_t> rle = {0x04, 0x00, 0x00, 0x00,
                                      0x00, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01};
    const Texels keyed = decode(packedDib(4, 2, 1, palette, rle), 4, 2, true);
    ASSERT_TRUE(keyed.ok);
    EXPECT_EQ(0, keyed.alpha(0, 0, 4));
    EXPECT_EQ(255, keyed.alpha(1, 0, 4));   // one step of blue away: kept
    EXPECT_EQ(0, keyed.alpha(2, 0, 4));
    EXPECT_EQ(255, keyed.alpha(3, 0, 4));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(0, keyed.alpha(x, 1, 4));   // far from the corner too
    const Texels plain = decode(packedDib(4, 2, 1, palette, rle), 4, 2, false);
    for (size_t i = 3; i < plain.rgba.size(); i += 4) EXPECT_EQ(255, plain.rgba[i]);
}

TEST(Rle8Bitmap, DeltaSkipsLeaveIndexZeroAndUncompressedDataWorksToo) {
    const std::vector<uint8_t> rle = {0x00, 0x02, 0x02, 0x01, 0x01, 0x01, 0x00, 0x01};
    const Texels skipped = decode(packedDib(3, 2, 1, kPalette, rle), 3, 2, false);
    ASSERT_TRUE(skipped.ok);
    EXPECT_EQ(0x000033u, skipped.rgb(0, 1, 3));
    EXPECT_EQ(0xFF0000u, skipped.rgb(2, 0, 3));   // two right, one up, then one red pixel
    const std::vector<uint8_t> rows = {1, 2, 3, 0, 4, 4, 4, 0};   // 3 wide, padded to 4
    const Texels raw = decode(packedDib(3, 2, 0, kPalette, rows), 3, 2, false);
    ASSERT_TRUE(raw.ok);
    EXPECT_EQ(0xFFFFFFu, raw.rgb(0, 0, 3));
    EXPECT_EQ(0x0000FFu, raw.rgb(2, 1, 3));
}

TEST(Rle8Bitmap, DamagedOrMismatchedBitmapsGiveAClearImageAndFalse) {
    const std::vector<uint8_t> good = {0x04, 0x01, 0x00, 0x00, 0x04, 0x02, 0x00, 0x01};
    EXPECT_FALSE(decode(packedDib(4, 2, 1, kPalette, good), 8, 2, false).ok);      // other size
    EXPECT_FALSE(decode(packedDib(4, 2, 2, kPalette, good), 4, 2, false).ok);      // RLE4
    const std::vector<uint8_t> truncated = {0x00, 0x09, 0x01};                      // absolute past end
    const Texels t = decode(packedDib(4, 2, 1, kPalette, truncated), 4, 2, false);
    EXPECT_FALSE(t.ok);
    for (uint8_t byte : t.rgba) ASSERT_EQ(0, byte);
    std::vector<uint8_t> header = packedDib(4, 2, 1, kPalette, good);
    header.resize(30);
    EXPECT_FALSE(decode(header, 4, 2, false).ok);
    EXPECT_EQ(0, packedBitmapSize(header.data(), header.size()).width);
    EXPECT_EQ(2, packedBitmapSize(packedDib(4, 2, 1, kPalette, good).data(), 60).height);
}

TEST(Rle8Bitmap, ExtremeDeclaredSizesAreRefused) {
    const std::vector<uint8_t> data = {0x00, 0x01};
    const std::vector<uint8_t> lowest = packedDib(5, INT32_MIN, 1, kPalette, data);
    EXPECT_EQ(0, packedBitmapSize(lowest.data(), lowest.size()).height);
    EXPECT_FALSE(decode(lowest, 5, 2, false).ok);
    const std::vector<uint8_t> noWidth = packedDib(-4, 2, 1, kPalette, data);
    EXPECT_EQ(0, packedBitmapSize(noWidth.data(), noWidth.size()).width);
}

TEST(Rle8Bitmap, RunsPastTheRowOrPictureAreClippedNotWrittenOutside) {
    const std::vector<uint8_t> overlong = {0xFF, 0x01, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x7F,
                                           0x09, 0x03, 0x00, 0x01};
    const Texels t = decode(packedDib(4, 2, 1, kPalette, overlong), 4, 2, false);
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(0xFF0000u, t.rgb(3, 1, 4));
}
