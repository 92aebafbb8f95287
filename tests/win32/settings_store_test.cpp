// The settings store on the real registry (HKEY_CURRENT_USER of the test prefix).
#include <gtest/gtest.h>

#include <windows.h>

#include "settings/saver_settings.h"

static const char kKey[] = "Software\\Quillmark\\Skyfold";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }

    static void store(const char* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key));
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
    }
    static void storeNumber(const char* name, int32_t value) {
        store(name, REG_DWORD, &value, sizeof value);
    }
    static void expectLoaded(int32_t notes, int32_t angle, int32_t currency) {
        saverSettings = {-99, -99, -99};
        loadSettings();
        EXPECT_EQ(notes, saverSettings.noteCount);
        EXPECT_EQ(angle, saverSettings.viewAngle);
        EXPECT_EQ(currency, saverSettings.currencyType);
    }
};

TEST_F(SettingsStore, MissingKeyOrValuesGiveTheDefaults) {
    expectLoaded(200, 3, 0);
    storeNumber("View Angle", 2);
    expectLoaded(200, 2, 0);
}

TEST_F(SettingsStore, ValuesLongerThanFourBytesCountAsMissingWhateverTheirType) {
    store("Number of Notes", REG_SZ, "1500", 5);
    const uint64_t eight = 7;
    store("Type of Currency", REG_QWORD, &eight, sizeof eight);
    storeNumber("View Angle", 1);
    expectLoaded(200, 1, 0);
}

TEST_F(SettingsStore, TypeIsNotCheckedAndShortValuesFillTheLowBytes) {
    store("Number of Notes", REG_SZ, "AB", 3);                 // 'A', 'B', 0
    const BYTE one = 0x7F;
    store("View Angle", REG_BINARY, &one, 1);
    const BYTE three[] = {0x01, 0x02, 0x83};
    store("Type of Currency", REG_BINARY, three, 3);
    expectLoaded(0x4241, 0x7F, 0x830201);
}

TEST_F(SettingsStore, SaveCreatesTheKeyAndWritesAllThreeAsDwords) {
    saverSettings = {75, 0, 2};
    EXPECT_TRUE(saveSettings());
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key));
    for (const char* name : {"Number of Notes", "View Angle", "Type of Currency"}) {
        DWORD type = 0, value = 0, size = sizeof value;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, name, NULL, &type,
                                                  reinterpret_cast<BYTE*>(&value), &size));
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << name;
        EXPECT_EQ(4u, size) << name;
    }
    RegCloseKey(key);
    expectLoaded(75, 0, 2);
}

TEST_F(SettingsStore, OutOfRangeValuesSurviveASaveAndLoadUnchanged) {
    saverSettings = {-5, 2147483647, -2147483647 - 1};
    EXPECT_TRUE(saveSettings());
    expectLoaded(-5, 2147483647, -2147483647 - 1);
    saverSettings = {4000, 4, 3};
    EXPECT_TRUE(saveSettings());
    expectLoaded(4000, 4, 3);
}
