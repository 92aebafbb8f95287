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

TEST(IdleRules, ReadsTheLockDelayFromZero) {
    int32_t seconds = 7;
    EXPECT_TRUE(parseLockSeconds("0", &seconds));
    EXPECT_EQ(0, seconds);
    EXPECT_FALSE(parseLockSeconds("86401", &seconds));
    EXPECT_FALSE(parseLockSeconds("", &seconds));
}

TEST(IdleRules, TakesTheFirstSourceOffered) {
    EXPECT_EQ(IdleSource::ExtIdleNotify, chooseIdleSource({true, true, true, true, true}));
    EXPECT_EQ(IdleSource::KdeIdle, chooseIdleSource({false, true, true, true, true}));
    EXPECT_EQ(IdleSource::X11SyncIdleTime, chooseIdleSource({false, false, true, true, true}));
    EXPECT_EQ(IdleSource::X11ScreenSaver, chooseIdleSource({false, false, false, true, true}));
    EXPECT_EQ(IdleSource::MutterIdleMonitor, chooseIdleSource({false, false, false, false, true}));
    EXPECT_EQ(IdleSource::None, chooseIdleSource({false, false, false, false, false}));
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

TEST(IdleRules, BoundsTheRequestsPerCallerAndInAll) {
    InhibitBook book = {{}, 0};
    for (size_t i = 0; i < kMostInhibitsPerCaller; ++i) EXPECT_NE(0u, addInhibit(&book, ":1.5"));
    EXPECT_EQ(0u, addInhibit(&book, ":1.5"));
    EXPECT_NE(0u, addInhibit(&book, ":1.6"));
    while (book.held.size() < kMostInhibits) {
        book.held.push_back(Inhibit{0, ":1." + std::to_string(book.held.size())});
    }
    EXPECT_EQ(0u, addInhibit(&book, ":2.1"));
}

TEST(IdleRules, ServesTheNameOnlyWhereNoDesktopKeepsIt) {
    EXPECT_TRUE(chooseHoldKeeping({false, false, false, false, false, false}).serve);
    EXPECT_TRUE(chooseHoldKeeping({false, false, false, false, true, false}).serve);  // Xfce's
    // GNOME's proxy comes after the watcher and waits in line: the name is left to it.
    EXPECT_FALSE(chooseHoldKeeping({false, true, false, false, false, false}).serve);
    EXPECT_FALSE(chooseHoldKeeping({false, false, true, false, false, false}).serve);
    EXPECT_FALSE(chooseHoldKeeping({false, false, false, true, false, false}).serve);
    const HoldKeeping hypridle = chooseHoldKeeping({true, false, false, false, false, false});
    EXPECT_FALSE(hypridle.serve);
    EXPECT_TRUE(hypridle.unreadable);
    EXPECT_FALSE(chooseHoldKeeping({true, false, false, true, false, false}).unreadable);
    EXPECT_FALSE(chooseHoldKeeping({true, false, false, false, true, false}).unreadable);
    // KWin keeps the name before Plasma's power manager comes.
    EXPECT_FALSE(chooseHoldKeeping({true, false, false, false, false, true}).unreadable);
}

TEST(IdleRules, ReadsEveryHoldBeforeActingOnIdle) {
    IdleWatchState state = {};
    EXPECT_EQ(IdleStep::None, idleBegan(&state));  // idle already at the start
    EXPECT_EQ(IdleStep::None, inhibitsChanged(&state, kLogindInhibits, true));
    EXPECT_EQ(IdleStep::None, holdsRead(&state));
    EXPECT_EQ(IdleStep::ArmTimer, inhibitsChanged(&state, kLogindInhibits, false));
    state = {};
    idleBegan(&state);
    EXPECT_EQ(IdleStep::StartSaver, holdsRead(&state));
}

TEST(IdleRules, StartsTheSaverOnlyWhenIdleAndFree) {
    IdleWatchState state = {};
    holdsRead(&state);
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
    holdsRead(&state);
    inhibitsChanged(&state, kPlasmaInhibits, true);
    EXPECT_EQ(IdleStep::None, idleBegan(&state));
    EXPECT_EQ(IdleStep::ArmTimer, inhibitsChanged(&state, kPlasmaInhibits, false));
    EXPECT_EQ(IdleStep::DisarmTimer, inhibitsChanged(&state, kServedInhibits, true));
    EXPECT_EQ(IdleStep::ArmTimer, inhibitsChanged(&state, kServedInhibits, false));
    EXPECT_EQ(IdleStep::DisarmTimer, idleEnded(&state));  // input: the source counts again
    EXPECT_EQ(IdleStep::None, idleTimerPassed(&state));
}

TEST(IdleRules, LocksBeforeTheSaverLeaves) {
    IdleWatchState state = {};
    holdsRead(&state);
    idleBegan(&state);
    EXPECT_EQ(IdleStep::LockSession, saverInput(&state, 5000, 5));
    lockAskedOf(&state, kGnomeLockActive);
    EXPECT_EQ(IdleStep::None, saverInput(&state, 5100, 5));  // more input: still waiting
    // logind's word comes first: the saver waits for the locker's own.
    EXPECT_EQ(IdleStep::None, lockSignChanged(&state, kLogindLocked, true));
    EXPECT_EQ(IdleStep::EndSaver, lockSignChanged(&state, kGnomeLockActive, true));
    lockSignChanged(&state, kGnomeLockActive, false);
    saverEnded(&state);
    EXPECT_EQ(IdleStep::None, idleBegan(&state));  // none while locked
    // After the unlock the timeout counts from then; input before it passes starts it afresh.
    EXPECT_EQ(IdleStep::ArmTimer, lockSignChanged(&state, kLogindLocked, false));
    EXPECT_EQ(IdleStep::StartSaver, idleTimerPassed(&state));
    EXPECT_EQ(IdleStep::EndSaver, saverInput(&state, 4999, 5));  // shown too short to lock
    saverEnded(&state);
    idleEnded(&state);
    idleBegan(&state);
    EXPECT_EQ(IdleStep::EndSaver, saverInput(&state, 600000, kNeverLock));
}

TEST(IdleRules, EndsTheSaverWhenNoLockComesOrTheDesktopLocksByItself) {
    IdleWatchState state = {};
    holdsRead(&state);
    idleBegan(&state);
    EXPECT_EQ(IdleStep::LockSession, saverInput(&state, 0, 0));
    lockAskedOf(&state, kLogindLocked);
    idleEnded(&state);
    EXPECT_EQ(IdleStep::None, idleBegan(&state));  // idle again while the saver waits
    EXPECT_EQ(IdleStep::EndSaver, lockWaitPassed(&state));
    EXPECT_FALSE(state.lockAsked);
    EXPECT_EQ(IdleStep::StartSaver, saverEnded(&state));
    EXPECT_EQ(IdleStep::EndSaver, saverInput(&state, 0, kNeverLock));
    EXPECT_EQ(IdleStep::None, saverEnded(&state));
    idleEnded(&state);
    idleBegan(&state);
    EXPECT_EQ(IdleStep::EndSaver, lockSignChanged(&state, kGnomeLockActive, true));
    EXPECT_EQ(IdleStep::None, lockSignChanged(&state, kX11Blanked, true));
    EXPECT_EQ(IdleStep::None, lockSignChanged(&state, kGnomeLockActive, false));
    // Unlocked while the saver still leaves: the timeout counts once it is gone.
    EXPECT_EQ(IdleStep::None, lockSignChanged(&state, kX11Blanked, false));
    EXPECT_EQ(IdleStep::ArmTimer, saverEnded(&state));
}

TEST(IdleRules, LocksBeforeSleepOnlyWhereItLocks) {
    IdleWatchState state = {};
    holdsRead(&state);
    EXPECT_EQ(IdleStep::None, sleepComing(&state, false));
    EXPECT_EQ(IdleStep::LockSession, sleepComing(&state, true));
    lockAskedOf(&state, kDesktopLockActive);
    EXPECT_TRUE(state.lockAsked);
    EXPECT_EQ(IdleStep::None, lockSignChanged(&state, kDesktopLockActive, true));
    EXPECT_FALSE(state.lockAsked);
    EXPECT_EQ(IdleStep::None, sleepComing(&state, true));  // locked already
}

TEST(IdleRules, FollowsTheDesktopsLockSettings) {
    EXPECT_EQ(LockDesktop::Gnome, lockDesktopOf("ubuntu:GNOME"));
    EXPECT_EQ(LockDesktop::Plasma, lockDesktopOf("KDE"));
    EXPECT_EQ(LockDesktop::Other, lockDesktopOf("sway"));
    EXPECT_EQ(LockDesktop::Other, lockDesktopOf(nullptr));
    const DesktopLockSettings kde = readKdeLockSettings(
        "[Greeter][Wallpaper][org.kde.image][General]\nLockGrace=1\n[Daemon]\nTimeout=10\n"
        "LockGrace = 30\n");
    EXPECT_TRUE(kde.enabled);
    EXPECT_EQ(30, kde.delaySeconds);
    EXPECT_FALSE(readKdeLockSettings("[Daemon]\nAutolock[$i]=false\n").enabled);
    EXPECT_EQ(5, readKdeLockSettings("").delaySeconds);
    EXPECT_EQ(30, planLocking(LockRule::Desktop, 0, LockDesktop::Plasma, kde).afterSeconds);
    EXPECT_EQ(kNeverLock, planLocking(LockRule::Never, 0, LockDesktop::Plasma, kde).afterSeconds);
    EXPECT_EQ(0, planLocking(LockRule::After, 0, LockDesktop::Other, {}).afterSeconds);
    EXPECT_EQ(kNeverLock,
              planLocking(LockRule::Desktop, 0, LockDesktop::Gnome, {true, false, 0}).afterSeconds);
    EXPECT_EQ(kNeverLock, planLocking(LockRule::Desktop, 0, LockDesktop::Other, kde).afterSeconds);
}

TEST(IdleRules, QuotesTheAutostartCommand) {
    const std::string entry = autostartEntry("/opt/sky fold/skyfold", {"--idle", "100%"});
    EXPECT_NE(std::string::npos,
              entry.find("\nExec=\"/opt/sky fold/skyfold\" --idle 100%%\n"));
    const std::string odd = autostartEntry("/a\"b$c", {});
    EXPECT_NE(std::string::npos, odd.find("\nExec=\"/a\\\\\"b\\\\$c\"\n"));
}
