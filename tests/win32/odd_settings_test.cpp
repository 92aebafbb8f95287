// The real scene started with odd stored settings (wrong types, odd lengths, extreme numbers):
// every run builds, draws frames and closes normally.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "host/win32/run_modes.h"
#include "host/win32/saver_window.h"
#include "tests/win32/saver_run.h"
#include "tests/win32/scene_frames.h"
#include "tests/win32/win32_test_support.h"

static const char kKey[] = "Software\\Quillmark\\Skyfold";

struct OddSetting {
    const char* name;
    DWORD type;
    std::vector<uint8_t> bytes;
};

// Names the case in test listings instead of dumping its bytes.
static void PrintTo(const OddSetting& setting, std::ostream* out) {
    *out << setting.name;
}

static std::vector<uint8_t> littleEndian(int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

class OddSettings : public ::testing::TestWithParam<OddSetting> {};

TEST_P(OddSettings, TheSceneBuildsDrawsAndClosesNormally) {
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key));
    const OddSetting& odd = GetParam();
    for (const char* name : {"Number of Notes", "View Angle", "Type of Currency"}) {
        RegSetValueExA(key, name, 0, odd.type, odd.bytes.data(), static_cast<DWORD>(odd.bytes.size()));
    }
    RegCloseKey(key);

    initHostState(GetModuleHandleA(NULL));
    ASSERT_EQ(SaverStart::Created, startSaverWindow(NULL));
    EXPECT_TRUE(pumpFrames(30));
    SendMessageA(saverWindowHandle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(saverWindowHandle()));
    endSaverRun();
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

static std::vector<OddSetting> oddSettings() {
    std::vector<OddSetting> cases = {{"AString", REG_SZ, {'a', 'b', 'c', 0}}};
    const char* const lengthNames[] = {"Bytes0", "Bytes1", "Bytes2", "Bytes3", "Bytes5", "Bytes64"};
    const size_t lengths[] = {0, 1, 2, 3, 5, 64};
    for (int i = 0; i < 6; ++i) {
        cases.push_back({lengthNames[i], REG_BINARY, std::vector<uint8_t>(lengths[i], 0xFF)});
    }
    cases.push_back({"MinusOne", REG_DWORD, littleEndian(-1)});
    cases.push_back({"Lowest", REG_DWORD, littleEndian(-2147483647 - 1)});
    cases.push_back({"Highest", REG_DWORD, littleEndian(2147483647)});
    cases.push_back({"PastThePool", REG_DWORD, littleEndian(1501)});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Stored, OddSettings, ::testing::ValuesIn(oddSettings()),
                         [](const ::testing::TestParamInfo<OddSetting>& param) {
                             return std::string(param.param.name);
                         });
