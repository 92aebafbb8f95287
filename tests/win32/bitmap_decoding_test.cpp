// Our RLE8 decoding of the program's bitmap resources against what GDI makes of the same
// resources, pixel for pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "scene/rle8_bitmap.h"
#include "tests/win32/win32_test_support.h"

static const int kFirstBitmapId = 101;
static const int kLastBitmapId = 132;

static HMODULE saverModule() {
    static HMODULE module =
        LoadLibraryExA(besideTestProgram("skyfold.scr").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

// GDI's reading of the bitmap: 32-bit BGRX, top row first.
static std::vector<uint8_t> gdiPixels(int id, int width, int height) {
    std::vector<uint8_t> bgrx(static_cast<size_t>(width) * height * 4, 0);
    const HBITMAP bitmap = LoadBitmapA(saverModule(), MAKEINTRESOURCEA(id));
    if (!bitmap) return std::vector<uint8_t>();
    BITMAPINFO request;
    ZeroMemory(&request, sizeof request);
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    const HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, height, bgrx.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    DeleteObject(bitmap);
    return bgrx;
}

TEST(BitmapDecoding, MatchesGdiForEveryBitmapOfTheProgram) {
    ASSERT_NE(nullptr, saverModule());
    for (int id = kFirstBitmapId; id <= kLastBitmapId; ++id) {
        const HRSRC found = FindResourceA(saverModule(), MAKEINTRESOURCEA(id), RT_BITMAP);
        ASSERT_NE(nullptr, found) << id;
        const uint8_t* dib = static_cast<const uint8_t*>(LockResource(LoadResource(saverModule(), found)));
        const size_t bytes = SizeofResource(saverModule(), found);
        const BitmapSize size = packedBitmapSize(dib, bytes);
        std::vector<uint8_t> rgba(static_cast<size_t>(size.width) * size.height * 4);
        ASSERT_TRUE(decodePackedBitmap(dib, bytes, size.width, size.height, false, rgba.data()));
        const std::vector<uint8_t> bgrx = gdiPixels(id, size.width, size.height);
        ASSERT_EQ(rgba.size(), bgrx.size()) << id;
        int differing = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) {
            if (rgba[i] != bgrx[i + 2] || rgba[i + 1] != bgrx[i + 1] || rgba[i + 2] != bgrx[i]) {
                if (++differing <= 3) {
                    ADD_FAILURE() << "bitmap " << id << " pixel " << (i / 4) % size.width << ","
                                  << (i / 4) / size.width << ": ours " << int(rgba[i]) << ","
                                  << int(rgba[i + 1]) << "," << int(rgba[i + 2]) << " GDI "
                                  << int(bgrx[i + 2]) << "," << int(bgrx[i + 1]) << ","
                                  << int(bgrx[i]);
                }
            }
        }
        EXPECT_EQ(0, differing) << "bitmap " << id;
    }
}
