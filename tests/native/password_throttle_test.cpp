#include "host/password_throttle.h"

#include <gtest/gtest.h>

TEST(PasswordThrottle, DropsRequestsWithin200MillisecondsOfTheLastDialog) {
    EXPECT_TRUE(isVerifyThrottled(1000, 1000));
    EXPECT_TRUE(isVerifyThrottled(1000, 1199));
    EXPECT_FALSE(isVerifyThrottled(1000, 1200));
    EXPECT_FALSE(isVerifyThrottled(1000, 50000));
}

TEST(PasswordThrottle, NeverThrottlesTheFirstRequest) {
    for (uint32_t now : {0u, 1u, 150u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
        EXPECT_FALSE(isVerifyThrottled(kNeverVerifiedTick, now)) << now;
    }
}

TEST(PasswordThrottle, WorksAcrossTheWrapOfTheTickCounter) {
    EXPECT_TRUE(isVerifyThrottled(0xFFFFFFF0u, 0x00000010u));    // 32 ms later, across the wrap
    EXPECT_TRUE(isVerifyThrottled(0xFFFFFF9Bu, 0x00000062u));    // 199 ms later
    EXPECT_FALSE(isVerifyThrottled(0xFFFFFF9Bu, 0x00000063u));   // 200 ms later
    EXPECT_FALSE(isVerifyThrottled(0xFFFFFFFEu, 0xFFFFFFFDu));   // almost a whole wrap later
}
