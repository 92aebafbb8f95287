// The host's saver window in its preview form, inside a window of this test: nothing closes it
// but its parent's end, and help requests go to the parent.
#include <gtest/gtest.h>

#include "host/win32/run_modes.h"
#include "host/win32/saver_window.h"
#include "tests/win32/recording_scene.h"
#include "tests/win32/saver_run.h"
#include "tests/win32/win32_test_support.h"

static const int kPreviewWidthPixels = 152;
static const int kPreviewHeightPixels = 112;

// Each test's preview runs in a stand-in of the settings page's monitor of its own.
class PreviewSaver : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = createPlainWindow(kPreviewWidthPixels, kPreviewHeightPixels, true);
        initHostState(GetModuleHandleA(NULL));
        ASSERT_EQ(SaverStart::Created, startSaverWindow(parent_));
        window_ = saverWindowHandle();
        forgetSceneMessages();
    }
    void TearDown() override {
        endSaverRun();
        if (IsWindow(parent_)) DestroyWindow(parent_);
    }
    HWND previewParent() const { return parent_; }
    HWND parent_ = NULL;
    HWND window_ = NULL;
};

TEST_F(PreviewSaver, IsAChildFillingThePreviewWindow) {
    EXPECT_TRUE(hostIsPreview());
    EXPECT_EQ(previewParent(), GetParent(window_));
    EXPECT_EQ(static_cast<LONG>(0x52000000u), GetWindowLongA(window_, GWL_STYLE) & 0xFFFF0000);
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(kPreviewWidthPixels, client.right);
    EXPECT_EQ(kPreviewHeightPixels, client.bottom);
    char title[32] = "";
    GetWindowTextA(window_, title, sizeof title);
    EXPECT_STREQ("Preview", title);
}

TEST_F(PreviewSaver, NoInputEndsAPreview) {
    const UINT inputs[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                           WM_MBUTTONDOWN, WM_ACTIVATEAPP, WM_POWERBROADCAST};
    for (UINT input : inputs) SendMessageA(window_, input, 0, 0);
    SetCursorPos(10, 10);
    SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
    SetCursorPos(600, 400);
    SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(isMessagePending(window_, WM_CLOSE));
    EXPECT_TRUE(sceneSaw(WM_KEYDOWN));
}

TEST_F(PreviewSaver, ContextMenuGoesToTheParentInItsOwnName) {
    const LPARAM where = MAKELPARAM(30, 40);
    EXPECT_EQ(1, SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), where));
    EXPECT_FALSE(sceneSaw(WM_CONTEXTMENU));
    MSG forwarded;
    ASSERT_TRUE(PeekMessageA(&forwarded, previewParent(), WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE));
    EXPECT_EQ(reinterpret_cast<WPARAM>(previewParent()), forwarded.wParam);
    EXPECT_EQ(where, forwarded.lParam);
}

// NOTE: WM_HELP carries a pointer, which the system refuses to post, so only its answer and its
// absence from the scene are observable.
TEST_F(PreviewSaver, HelpIsAnsweredForTheParentAndKeptFromTheScene) {
    HELPINFO help;
    ZeroMemory(&help, sizeof help);
    help.cbSize = sizeof help;
    EXPECT_EQ(1, SendMessageA(window_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)));
    EXPECT_FALSE(sceneSaw(WM_HELP));
}

TEST_F(PreviewSaver, SystemCommandsAreNotRefusedInPreview) {
    SendMessageA(window_, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    EXPECT_TRUE(sceneSaw(WM_SYSCOMMAND, SC_SCREENSAVE));
}

TEST_F(PreviewSaver, EndsWhenItsParentIsDestroyed) {
    DestroyWindow(previewParent());
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(sceneSaw(WM_DESTROY));
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
}
