// The host's full-screen saver window, driven in-process: which messages close a run, which are
// refused or filtered before the scene, and what the scene gets to see.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include "host/win32/run_modes.h"
#include "host/win32/saver_window.h"
#include "tests/win32/recording_scene.h"
#include "tests/win32/saver_run.h"
#include "tests/win32/win32_test_support.h"

static const POINT kStartCursor = {640, 360};

// A full-screen saver window of each test's own, made with the cursor at a known place.
class FullScreenSaver : public ::testing::Test {
protected:
    void SetUp() override {
        LoadLibraryA("imm32.dll");  // the input method is detached only where already loaded
        initHostState(GetModuleHandleA(NULL));
        moveCursorAndSettle(kStartCursor.x, kStartCursor.y);
        ASSERT_EQ(SaverStart::Created, startSaverWindow(NULL));
        window_ = saverWindowHandle();
        forgetSceneMessages();
    }
    void TearDown() override { endSaverRun(); }
    // Sends the message and reports whether it requested a close (and forgets the request).
    bool closes(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        SendMessageA(window_, message, wParam, lParam);
        return discardMessages(window_, WM_CLOSE) > 0;
    }
    bool movingCursorToCloses(int dx, int dy) {
        moveCursorAndSettle(kStartCursor.x + dx, kStartCursor.y + dy);
        return closes(WM_MOUSEMOVE);
    }
    // NOTE: under X the pointer warp comes back later as motion events; they are let in (never
    // dispatched) until the cursor reads the target, so a late one cannot move it afterwards.
    void moveCursorAndSettle(int x, int y) {
        SetCursorPos(x, y);
        const DWORD start = GetTickCount();
        for (;;) {
            MSG pending;
            PeekMessageA(&pending, NULL, 0, 0, PM_NOREMOVE);
            discardMessages(window_, WM_MOUSEMOVE);
            POINT at;
            GetCursorPos(&at);
            if ((at.x == x && at.y == y) || GetTickCount() - start > kWaitMilliseconds) return;
            MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
        }
    }
    HWND window_ = NULL;
};

TEST_F(FullScreenSaver, IsATopmostPopupTitledScreenSaverCoveringTheScreen) {
    EXPECT_EQ(static_cast<LONG>(0x96000000u), GetWindowLongA(window_, GWL_STYLE) & 0xFFFF0000);
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    char title[32] = "";
    GetWindowTextA(window_, title, sizeof title);
    EXPECT_STREQ("Screen Saver", title);
    RECT bounds;
    GetWindowRect(window_, &bounds);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), bounds.right - bounds.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), bounds.bottom - bounds.top);
    EXPECT_EQ(0x2Bu, GetClassLongA(window_, GCL_STYLE));
    EXPECT_FALSE(hostIsPreview());
}

TEST_F(FullScreenSaver, KeyAndButtonPressesClose) {
    const UINT presses[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    for (UINT press : presses) {
        EXPECT_TRUE(closes(press)) << std::hex << press;
        EXPECT_TRUE(sceneSaw(press)) << std::hex << press;
    }
}

TEST_F(FullScreenSaver, ReleasesWheelAndCharactersDoNotClose) {
    const UINT others[] = {WM_KEYUP, WM_SYSKEYUP, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP,
                           WM_MOUSEWHEEL, WM_CHAR, WM_LBUTTONDBLCLK};
    for (UINT other : others) {
        EXPECT_FALSE(closes(other)) << std::hex << other;
    }
}

TEST_F(FullScreenSaver, MouseTravelIsMeasuredFromTheReferenceAndClosesBeyondFourPixels) {
    EXPECT_FALSE(movingCursorToCloses(2, 0));
    EXPECT_FALSE(movingCursorToCloses(2, 2));     // small moves add up to 4: tolerated
    EXPECT_FALSE(movingCursorToCloses(-4, 0));    // distance from the reference, not the path
    EXPECT_TRUE(movingCursorToCloses(2, 3));      // 5
    // The position that requested the close is the new reference.
    EXPECT_FALSE(movingCursorToCloses(4, 3));
    EXPECT_TRUE(movingCursorToCloses(-1, 0));
}

TEST_F(FullScreenSaver, ApplicationSwitchesAndPowerEventsClose) {
    EXPECT_TRUE(closes(WM_ACTIVATEAPP, 0));
    EXPECT_FALSE(closes(WM_ACTIVATEAPP, 1));
    const WPARAM events[] = {0, 4, 10, 0xFFFF};
    for (WPARAM event : events) EXPECT_TRUE(closes(WM_POWERBROADCAST, event)) << event;
    EXPECT_TRUE(closes(WM_POWER, PWR_CRITICALRESUME));
    EXPECT_FALSE(closes(WM_POWER, PWR_SUSPENDREQUEST));
    EXPECT_FALSE(closes(WM_POWER, PWR_SUSPENDRESUME));
}

TEST_F(FullScreenSaver, RefusesWindowSwitchingAndScreenSaverCommandsBeforeTheScene) {
    const WPARAM refused[] = {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE};
    for (WPARAM command : refused) {
        EXPECT_EQ(0, SendMessageA(window_, WM_SYSCOMMAND, command, 0));
        EXPECT_FALSE(sceneSaw(WM_SYSCOMMAND, command)) << std::hex << command;
    }
    // The whole wParam is compared: flag bits make it another command, which the scene gets.
    SendMessageA(window_, WM_SYSCOMMAND, SC_NEXTWINDOW | 1, 0);
    EXPECT_TRUE(sceneSaw(WM_SYSCOMMAND, SC_NEXTWINDOW | 1));
    SendMessageA(window_, WM_SYSCOMMAND, SC_HOTKEY, 0);
    EXPECT_TRUE(sceneSaw(WM_SYSCOMMAND, SC_HOTKEY));
}

TEST_F(FullScreenSaver, KeepsItsTitleAndHidesTheCursor) {
    EXPECT_EQ(0, SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed")));
    EXPECT_FALSE(sceneSaw(WM_SETTEXT));
    char title[32] = "";
    GetWindowTextA(window_, title, sizeof title);
    EXPECT_STREQ("Screen Saver", title);
    EXPECT_EQ(1, SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_), HTCLIENT));
}

TEST_F(FullScreenSaver, HelpAndContextMenuReachTheSceneInFullScreen) {
    SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), 0);
    EXPECT_TRUE(sceneSaw(WM_CONTEXTMENU));
}

TEST_F(FullScreenSaver, DetachesTheInputMethodWhileRunning) {
    EXPECT_EQ(nullptr, ImmGetContext(window_));
}

TEST_F(FullScreenSaver, CloseDestroysTheWindowAndPostsQuitWithZero) {
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
    EXPECT_TRUE(sceneSaw(WM_DESTROY));
}
