// Reads the pictures and the icon back out of the built skyfold.scr through the resource API:
// every bitmap's id, size, depth, compression, palette and complete RLE8 data, the banner's
// key-colour ground and lettering as GDI shows them, and the icon group's sizes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/win32/win32_test_support.h"

namespace {

const WORD kBannerId = 101;
const WORD kFirstNoteId = 102;
const WORD kLastNoteId = 131;
const LONG kBannerWidth = 256, kBannerHeight = 32;
const LONG kNoteWidth = 256, kNoteHeight = 128;
const LONG kFaceWidth = 495, kFaceHeight = 298;
const DWORD kPaletteEntries = 256;
const COLORREF kBannerKey = RGB(0, 0, 51);

struct ExpectedBitmap {
    WORD id;
    LONG width;
    LONG height;
};

std::vector<ExpectedBitmap> expectedBitmaps() {
    std::vector<ExpectedBitmap> all = {{kBannerId, kBannerWidth, kBannerHeight}};
    for (WORD id = kFirstNoteId; id <= kLastNoteId; ++id) {
        all.push_back({id, kNoteWidth, kNoteHeight});
    }
    all.push_back({kDialogFaceBitmapId, kFaceWidth, kFaceHeight});
    return all;
}

// One bitmap resource as stored: header, palette and RLE8 data.
struct StoredBitmap {
    const BITMAPINFOHEADER* header = nullptr;
    const RGBQUAD* palette = nullptr;
    const BYTE* data = nullptr;
    size_t dataBytes = 0;
    size_t resourceBytes = 0;
};

// Palette indices decoded from RLE8 data, top row first. Strict: a run that leaves the bitmap,
// a truncated code, a missing end-of-bitmap code or a pixel left unwritten fails the decode.
struct Decoded {
    bool ok = false;
    std::string error;
    std::vector<BYTE> indices;
};

Decoded decodeRle8(const BYTE* data, size_t bytes, LONG width, LONG height) {
    Decoded out;
    out.indices.assign(static_cast<size_t>(width) * height, 0);
    std::vector<bool> written(out.indices.size(), false);
    LONG x = 0, row = 0;  // row counts from the bottom
    size_t at = 0;
    auto put = [&](BYTE value) {
        if (row >= height || x >= width) return false;
        const size_t i = static_cast<size_t>(height - 1 - row) * width + x;
        if (written[i]) return false;
        out.indices[i] = value;
        written[i] = true;
        ++x;
        return true;
    };
    for (;;) {
        if (at + 2 > bytes) {
            out.error = "data ends without an end-of-bitmap code";
            return out;
        }
        const BYTE count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                if (!put(value)) {
                    out.error = "encoded run leaves the bitmap in row " + std::to_string(row);
                    return out;
                }
            }
        } else if (value == 0) {
            if (x != width) {
                out.error = "row " + std::to_string(row) + " ends short at " + std::to_string(x);
                return out;
            }
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            out.error = "delta code (would leave pixels unwritten)";
            return out;
        } else {
            if (at + value > bytes) {
                out.error = "absolute run runs past the data";
                return out;
            }
            for (int i = 0; i < value; ++i) {
                if (!put(data[at + i])) {
                    out.error = "absolute run leaves the bitmap in row " + std::to_string(row);
                    return out;
                }
            }
            at += value + (value & 1);
        }
    }
    for (size_t i = 0; i < written.size(); ++i) {
        if (!written[i]) {
            out.error = "pixel " + std::to_string(i) + " never written";
            return out;
        }
    }
    if (at != bytes) {
        out.error = std::to_string(bytes - at) + " bytes after the end-of-bitmap code";
        return out;
    }
    out.ok = true;
    return out;
}

COLORREF paletteColour(const StoredBitmap& bitmap, BYTE index) {
    const RGBQUAD& q = bitmap.palette[index];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

BOOL CALLBACK collectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::set<WORD>*>(found)->insert(static_cast<WORD>(
            reinterpret_cast<ULONG_PTR>(name)));
    } else {
        reinterpret_cast<std::set<WORD>*>(found)->insert(0);  // a named bitmap: never expected
    }
    return TRUE;
}

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(besideTestProgram("skyfold.scr").c_str(), NULL,
                                 LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (module_) FreeLibrary(module_);
        module_ = NULL;
    }
    void SetUp() override { ASSERT_NE(module_, (HMODULE)NULL) << "skyfold.scr not loadable"; }

    static bool resourceBytes(LPCSTR type, WORD id, const BYTE*& bytes, size_t& size) {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        if (!found) return false;
        HGLOBAL loaded = LoadResource(module_, found);
        bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
        size = SizeofResource(module_, found);
        return bytes != nullptr;
    }

    static StoredBitmap stored(WORD id) {
        StoredBitmap bitmap;
        const BYTE* bytes = nullptr;
        if (!resourceBytes(RT_BITMAP, id, bytes, bitmap.resourceBytes)) return bitmap;
        if (bitmap.resourceBytes < sizeof(BITMAPINFOHEADER)) return bitmap;
        bitmap.header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
        const size_t tableEnd = bitmap.header->biSize + kPaletteEntries * sizeof(RGBQUAD);
        if (bitmap.header->biSize < sizeof(BITMAPINFOHEADER) || tableEnd > bitmap.resourceBytes) {
            bitmap.header = nullptr;
            return bitmap;
        }
        bitmap.palette = reinterpret_cast<const RGBQUAD*>(bytes + bitmap.header->biSize);
        bitmap.data = bytes + tableEnd;
        bitmap.dataBytes = bitmap.resourceBytes - tableEnd;
        return bitmap;
    }

    static HMODULE module_;
};

HMODULE ResourcesTest::module_ = NULL;

TEST_F(ResourcesTest, TheBitmapIdsAreExactlyTheBannerTheThirtyNoteSidesAndTheDialogFace) {
    std::set<WORD> found;
    EnumResourceNamesA(module_, RT_BITMAP, collectId, reinterpret_cast<LONG_PTR>(&found));
    std::set<WORD> expected;
    for (const ExpectedBitmap& bitmap : expectedBitmaps()) expected.insert(bitmap.id);
    EXPECT_EQ(found, expected);
}

TEST_F(ResourcesTest, EveryBitmapIsAnRle8PaletteBitmapOfItsSizeThatDecodesCompletely) {
    for (const ExpectedBitmap& expected : expectedBitmaps()) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        const StoredBitmap bitmap = stored(expected.id);
        ASSERT_NE(bitmap.header, nullptr) << "missing or truncated";
        const BITMAPINFOHEADER& h = *bitmap.header;
        EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(h.biWidth, expected.width);
        EXPECT_EQ(h.biHeight, expected.height);  // positive: bottom-up, as RLE8 requires
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, 8);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RLE8));
        EXPECT_EQ(h.biClrUsed, kPaletteEntries);
        EXPECT_EQ(h.biSizeImage, bitmap.dataBytes);
        const Decoded decoded = decodeRle8(bitmap.data, bitmap.dataBytes, expected.width,
                                           expected.height);
        EXPECT_TRUE(decoded.ok) << decoded.error;
    }
}

TEST_F(ResourcesTest, NoteSidesUseManyColoursAndDifferFromOneAnother) {
    std::set<std::vector<BYTE>> pictures;
    for (WORD id = kFirstNoteId; id <= kLastNoteId; ++id) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const StoredBitmap bitmap = stored(id);
        ASSERT_NE(bitmap.header, nullptr);
        const Decoded decoded = decodeRle8(bitmap.data, bitmap.dataBytes, kNoteWidth, kNoteHeight);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        std::set<COLORREF> colours;
        for (BYTE index : decoded.indices) colours.insert(paletteColour(bitmap, index));
        EXPECT_GT(colours.size(), 64u) << "a flat or placeholder picture";
        std::vector<BYTE> rgb;
        for (BYTE index : decoded.indices) {
            const COLORREF c = paletteColour(bitmap, index);
            rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
        EXPECT_TRUE(pictures.insert(rgb).second) << "the same picture as another side";
    }
}

TEST_F(ResourcesTest, BannerGroundIsTheKeyColourFromTheCornerAndTheLetteringAvoidsIt) {
    // Read as the scene reads it: the bitmap in a memory DC compatible with the screen.
    HBITMAP bitmap = LoadBitmapA(module_, MAKEINTRESOURCEA(kBannerId));
    ASSERT_NE(bitmap, (HBITMAP)NULL);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const COLORREF corner = GetPixel(memory, 0, 0);
    LONG lettering = 0, ground = 0;
    for (LONG y = 0; y < kBannerHeight; ++y) {
        for (LONG x = 0; x < kBannerWidth; ++x) {
            (GetPixel(memory, x, y) == corner ? ground : lettering)++;
        }
    }
    const COLORREF rightCorner = GetPixel(memory, kBannerWidth - 1, kBannerHeight - 1);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    DeleteObject(bitmap);

    EXPECT_EQ(corner, kBannerKey);
    EXPECT_EQ(rightCorner, kBannerKey) << "the ground should run to every edge";
    // Two lines of lettering: a real share of the banner, but the ground still dominates.
    EXPECT_GT(lettering, kBannerWidth * kBannerHeight / 20);
    EXPECT_GT(ground, kBannerWidth * kBannerHeight / 2);

    // Only one palette entry carries the key colour, so no lettering pixel can share it.
    const StoredBitmap stored101 = stored(kBannerId);
    ASSERT_NE(stored101.header, nullptr);
    const Decoded decoded = decodeRle8(stored101.data, stored101.dataBytes, kBannerWidth,
                                       kBannerHeight);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    std::set<BYTE> keyIndices;
    for (BYTE index : decoded.indices) {
        if (paletteColour(stored101, index) == kBannerKey) keyIndices.insert(index);
    }
    EXPECT_EQ(keyIndices.size(), 1u);
}

TEST_F(ResourcesTest, IconGroup100HoldsA16A32A48AndA256PixelIcon) {
    const BYTE* group = nullptr;
    size_t groupBytes = 0;
    ASSERT_TRUE(resourceBytes(RT_GROUP_ICON, kSaverIconId, group, groupBytes));
    const size_t kDirectoryBytes = 6, kEntryBytes = 14;  // GRPICONDIR, GRPICONDIRENTRY (packed)
    ASSERT_GE(groupBytes, kDirectoryBytes);
    WORD reserved, type, count;
    std::memcpy(&reserved, group, 2);
    std::memcpy(&type, group + 2, 2);
    std::memcpy(&count, group + 4, 2);
    EXPECT_EQ(reserved, 0);
    EXPECT_EQ(type, 1);  // icons
    ASSERT_EQ(groupBytes, kDirectoryBytes + count * kEntryBytes);

    std::multiset<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + kDirectoryBytes + i * kEntryBytes;
        const int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
        DWORD bytesInRes;
        WORD iconId;
        std::memcpy(&bytesInRes, entry + 8, 4);
        std::memcpy(&iconId, entry + 12, 2);
        SCOPED_TRACE("icon of " + std::to_string(width) + " pixels");
        EXPECT_EQ(width, height);
        sizes.insert(width);
        const BYTE* image = nullptr;
        size_t imageBytes = 0;
        ASSERT_TRUE(resourceBytes(RT_ICON, iconId, image, imageBytes));
        EXPECT_EQ(imageBytes, bytesInRes);
        const DWORD kIconFormatVersion = 0x00030000;
        HICON made = CreateIconFromResourceEx(const_cast<BYTE*>(image),
                                              static_cast<DWORD>(imageBytes), TRUE,
                                              kIconFormatVersion, width, width, LR_DEFAULTCOLOR);
        EXPECT_NE(made, (HICON)NULL) << "the system cannot make an icon of it";
        if (made) {
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(made, &info));
            BITMAP colour = {};
            GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(colour), &colour);
            EXPECT_EQ(colour.bmWidth, width);
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
            DestroyIcon(made);
        }
    }
    EXPECT_EQ(sizes, (std::multiset<int>{16, 32, 48, 256}));
}

}  // namespace
