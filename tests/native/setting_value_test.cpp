#include "settings/setting_value.h"

#include <gtest/gtest.h>

TEST(SettingValue, FourBytesAreALittleEndianSignedNumber) {
    const uint8_t bytes[] = {0xC8, 0x00, 0x00, 0x00};
    EXPECT_EQ(200, settingFromStoredValue(true, bytes, 4, 7));
    const uint8_t negative[] = {0xFB, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(-5, settingFromStoredValue(true, negative, 4, 7));
}

TEST(SettingValue, ShorterValuesFillTheLowBytesAndZeroTheRest) {
    const uint8_t bytes[] = {0x01, 0x02, 0x83, 0xEE};
    EXPECT_EQ(0x01, settingFromStoredValue(true, bytes, 1, 7));
    EXPECT_EQ(0x0201, settingFromStoredValue(true, bytes, 2, 7));
    EXPECT_EQ(0x830201, settingFromStoredValue(true, bytes, 3, 7));
    EXPECT_EQ(0, settingFromStoredValue(true, bytes, 0, 7));
}

TEST(SettingValue, FailedOrOverlongReadsGiveTheDefault) {
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(7, settingFromStoredValue(false, bytes, 4, 7));
    EXPECT_EQ(7, settingFromStoredValue(true, bytes, 5, 7));
    EXPECT_EQ(7, settingFromStoredValue(true, nullptr, 2, 7));
}
