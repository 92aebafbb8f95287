#include "host/idle_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(IdleRules, ReadsTheTimeoutInItsRange) {
    int32_t seconds = 7;
    EXPECT_TRUE(parseIdleSeconds("1", &seconds));
    EXPECT_EQ(1, seconds);
    EXPECT_TRUE(parseIdleSeconds("86400", &seconds));
    EXPECT_EQ(86400, seconds);
    for (const char* bad : {"0", "86401", "", "-5", "5s", "9999999999", "1e3"}) {
        EXPECT_FALSE(parseIdleSeconds(bad, &seconds)) << bad;
    }
    EXPECT_EQ(86400, seconds);
}

TEST(IdleRules, TakesTheFirstSourceOffered) {
    EXPECT_EQ(IdleSource::ExtIdleNotify, chooseIdleSource({true, true, true, true}));
    EXPECT_EQ(IdleSource::KdeIdle, chooseIdleSource({false, true, true, true}));
    EXPECT_EQ(IdleSource::MutterIdleMonitor, chooseIdleSource({false, false, true, true}));
    EXPECT_EQ(IdleSource::X11ScreenSaver, chooseIdleSource({false, false, false, true}));
    EXPECT_EQ(IdleSource::None, chooseIdleSource({false, false, false, false}));
}

TEST(IdleRules, KeepsEachCallersInhibits) {
    InhibitBook book = {{}, 0xFFFFFFFEu};
    const uint32_t first = addInhibit(&book, ":1.5");
    const uint32_t second = addInhibit(&book, ":1.5");  // wraps past 0, which means none
    const uint32_t other = addInhibit(&book, ":1.7");
    EXPECT_EQ(0xFFFFFFFFu, first);
    EXPECT_EQ(1u, second);
    EXPECT_EQ(2u, other);
    EXPECT_FALSE(removeInhibit(&book, other, ":1.5"));  // only its caller ends a request
    EXPECT_TRUE(removeInhibit(&book, first, ":1.5"));
    EXPECT_FALSE(removeInhibit(&book, first, ":1.5"));
    EXPECT_TRUE(callerHolds(book, ":1.5"));
    EXPECT_EQ(1u, dropCaller(&book, ":1.5"));
    EXPECT_FALSE(callerHolds(book, ":1.5"));
    ASSERT_EQ(1u, book.held.size());
    book.lastCookie = 1;
    EXPECT_EQ(3u, addInhibit(&book, ":1.9"));  // 2 is still held
}

TEST(IdleRules, StartsTheSaverOnlyWhenIdleAndFree) {
    IdleWatchState state = {};
    EXPECT_EQ(IdleStep::StartSaver, idleBegan(&state));
    EXPECT_EQ(IdleStep::None, idleBegan(&state));  // one saver at a time
    saverEnded(&state);                            // killed: no new one before input and idle
    EXPECT_EQ(IdleStep::None, inhibitsChanged(&state, kServedInhibits, false));
    EXPECT_EQ(IdleStep::None, idleEnded(&state));
    EXPECT_EQ(IdleStep::None, inhibitsChanged(&state, kLogindInhibits, true));
    EXPECT_EQ(IdleStep::None, idleBegan(&state));
    EXPECT_EQ(IdleStep::None, inhibitsChanged(&state, kServedInhibits, true));
    EXPECT_EQ(IdleStep::None, inhibitsChanged(&state, kLogindInhibits, false));
    EXPECT_EQ(IdleStep::ArmTimer, inhibitsChanged(&state, kServedInhibits, false));
    EXPECT_EQ(IdleStep::StartSaver, idleTimerPassed(&state));
}

TEST(IdleRules, CountsTheTimeoutAgainFromTheLastInhibit) {
    IdleWatchState state = {};
    inhibitsChanged(&state, kDesktopInhibits, true);
    EXPECT_EQ(IdleStep::None, idleBegan(&state));
    EXPECT_EQ(IdleStep::ArmTimer, inhibitsChanged(&state, kDesktopInhibits, false));
    EXPECT_EQ(IdleStep::DisarmTimer, inhibitsChanged(&state, kServedInhibits, true));
    EXPECT_EQ(IdleStep::ArmTimer, inhibitsChanged(&state, kServedInhibits, false));
    EXPECT_EQ(IdleStep::DisarmTimer, idleEnded(&state));  // input: the source counts again
    EXPECT_EQ(IdleStep::None, idleTimerPassed(&state));
}

TEST(IdleRules, PassesTheSaverOptionsOn) {
    const char* argv[] = {"skyfold", "--idle", "--timeout", "60", "--count=300", "-timeout=5",
                          "--currency", "euro", "--max-fps", "30"};
    const std::vector<std::string> saver = saverArguments(10, argv);
    EXPECT_EQ((std::vector<std::string>{"--fullscreen", "--count=300", "--currency", "euro",
                                        "--max-fps", "30"}),
              saver);
    const char* install[] = {"skyfold", "--install-autostart", "--timeout", "60", "--fps"};
    EXPECT_EQ((std::vector<std::string>{"--idle", "--timeout", "60", "--fps"}),
              watcherArguments(5, install));
}

TEST(IdleRules, QuotesTheAutostartCommand) {
    const std::string entry = autostartEntry("/opt/sky fold/skyfold", {"--idle", "100%"});
    EXPECT_NE(std::string::npos,
              entry.find("\nExec=\"/opt/sky fold/skyfold\" --idle 100%%\n"));
    const std::string odd = autostartEntry("/a\"b$c", {});
    EXPECT_NE(std::string::npos, odd.find("\nExec=\"/a\\\\\"b\\\\$c\"\n"));
}
