// What Windows reads about the built skyfold.scr before running it: the embedded application
// manifest (DPI awareness, execution level, supported systems) and the version resource, both
// read back from the file and checked against the project's version.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "skyfold_version.h"
#include "tests/win32/win32_test_support.h"

static const WORD kManifestId = 1;  // the manifest Windows reads when it creates the process

static std::string saverPath() { return besideTestProgram("skyfold.scr"); }

static BOOL CALLBACK countName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class ProgramIdentity : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(saverPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module_); }
    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot open " << saverPath(); }

    static std::string manifest() {
        const HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(kManifestId), RT_MANIFEST);
        if (!found) return std::string();
        const char* text = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return text ? std::string(text, SizeofResource(module_, found)) : std::string();
    }

    static HMODULE module_;
};
HMODULE ProgramIdentity::module_ = NULL;

TEST_F(ProgramIdentity, CarriesOneManifestThatTheSystemAccepts) {
    int manifests = 0;
    EnumResourceNamesA(module_, RT_MANIFEST, countName, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(1, manifests);
    ASSERT_FALSE(manifest().empty());

    // The loader builds an activation context from the same resource when the program starts; a
    // malformed manifest would make the program refuse to start at all.
    const std::string path = saverPath();
    ACTCTXA context;
    ZeroMemory(&context, sizeof context);
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(kManifestId);
    const HANDLE activation = CreateActCtxA(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, activation) << GetLastError();
    ReleaseActCtx(activation);
}

TEST_F(ProgramIdentity, ManifestAsksForPerMonitorDpiAsInvokerOnEverySupportedSystem) {
    const std::string text = manifest();
    EXPECT_NE(std::string::npos, text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"));
    EXPECT_NE(std::string::npos, text.find(">true/pm</dpiAware>"));
    EXPECT_NE(std::string::npos, text.find("level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, text.find("version=\"" SKYFOLD_VERSION_STRING ".0\""));
    const char* systems[] = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",   // Vista
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // 7
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // 8
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // 8.1
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};  // 10 and 11
    for (const char* id : systems) {
        EXPECT_NE(std::string::npos, text.find(std::string("<supportedOS Id=\"") + id + "\"/>")) << id;
    }
}

// The version as Explorer's property page and Add/Remove Programs read it from the file.
class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = saverPath();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block_[0]));
    }
    std::string text(const char* name) {
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
        char* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(&block_[0], query.c_str(), reinterpret_cast<void**>(&value), &length) ||
            length == 0) {
            return "<missing>";
        }
        return std::string(value);
    }
    std::string block_;
};

TEST_F(VersionResource, NamesTheProductAndItsVersionInWords) {
    EXPECT_EQ("Skyfold", text("ProductName"));
    EXPECT_EQ("Skyfold screen saver", text("FileDescription"));
    EXPECT_EQ(SKYFOLD_VERSION_STRING, text("FileVersion"));
    EXPECT_EQ(SKYFOLD_VERSION_STRING, text("ProductVersion"));
    EXPECT_EQ("skyfold.scr", text("OriginalFilename"));
}

TEST_F(VersionResource, NumericVersionMatchesTheProjectVersion) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block_[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    const DWORD high = MAKELONG(SKYFOLD_VERSION_MINOR, SKYFOLD_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, SKYFOLD_VERSION_PATCH);
    EXPECT_EQ(high, fixed->dwFileVersionMS);
    EXPECT_EQ(low, fixed->dwFileVersionLS);
    EXPECT_EQ(high, fixed->dwProductVersionMS);
    EXPECT_EQ(low, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}
