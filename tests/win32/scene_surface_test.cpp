// The scene's OpenGL surface on a real saver window (host and scene as in skyfold.scr): the child
// window it makes, the frame pump and clock, the pacing of the real message loop, the teardown,
// and the failure path.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "host/win32/run_modes.h"
#include "host/win32/saver_window.h"
#include "scene/frame_clock.h"
#include "scene/frame_pacing.h"
#include "scene/scene_view.h"
#include "tests/win32/saver_run.h"
#include "tests/win32/scene_frames.h"
#include "tests/win32/win32_test_support.h"

static const char kSceneClassName[] = "OpenGL Window";

static HWND sceneChild(HWND saver) {
    return FindWindowExA(saver, NULL, kSceneClassName, NULL);
}

class SceneSurface : public ::testing::Test {
protected:
    void TearDown() override { endSaverRun(); }
};

TEST_F(SceneSurface, CoversTheSaverWindowDrawsFramesAndTearsDownInOrder) {
    initHostState(GetModuleHandleA(NULL));
    ASSERT_EQ(SaverStart::Created, startSaverWindow(NULL));
    const HWND saver = saverWindowHandle();
    const HWND scene = sceneChild(saver);
    ASSERT_NE(nullptr, scene);

    RECT saverClient, sceneClient;
    GetClientRect(saver, &saverClient);
    GetClientRect(scene, &sceneClient);
    EXPECT_EQ(saverClient.right, sceneClient.right);
    EXPECT_EQ(saverClient.bottom, sceneClient.bottom);
    EXPECT_EQ(saverClient.right, viewWidth);
    EXPECT_EQ(saverClient.bottom, viewHeight);
    EXPECT_FALSE(scenePreview);
    char title[32] = "";
    GetWindowTextA(saver, title, sizeof title);
    EXPECT_STREQ("Screen Saver", title);   // the child's creation must not retitle the saver
    EXPECT_NE(nullptr, wglGetCurrentContext());

    EXPECT_EQ(0.0f, frameTime);            // nothing drawn yet
    EXPECT_TRUE(pumpFrames(5));
    EXPECT_GT(frameTime, 0.0f);
    EXPECT_GT(frameDelta, 0.0f);
    EXPECT_LE(frameDelta, frameTime);

    SendMessageA(saver, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(scene));
    EXPECT_FALSE(IsWindow(saver));
    EXPECT_EQ(nullptr, wglGetCurrentContext());
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
}

static void CALLBACK endTheRun(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(NULL, timer);
    DestroyWindow(saverWindowHandle());
}

// Xvfb never waits at a swap, so the clock paces the real loop; a busy machine may draw fewer.
TEST_F(SceneSurface, TheMessageLoopPresentsNoMoreThanSixtyFiveFramesASecond) {
    const UINT kRunMilliseconds = 4000;
    const long kMostFramesPerSecond = 65;
    initHostState(GetModuleHandleA(NULL));
    SetTimer(NULL, 0, kRunMilliseconds, endTheRun);
    const DWORD start = GetTickCount();
    EXPECT_EQ(0, runSaverWindow(NULL));
    const long elapsedMilliseconds = static_cast<long>(GetTickCount() - start);
    const long frames = framesPresentedSinceStart();
    EXPECT_GT(frames, 0);
    EXPECT_LE(frames * 1000, kMostFramesPerSecond * elapsedMilliseconds)
        << frames << " frames in " << elapsedMilliseconds << " ms";
}

TEST_F(SceneSurface, InputOverThePictureClosesTheRunAsOverTheSaverWindow) {
    initHostState(GetModuleHandleA(NULL));
    ASSERT_EQ(SaverStart::Created, startSaverWindow(NULL));
    const HWND saver = saverWindowHandle();
    SendMessageA(sceneChild(saver), WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(1, discardMessages(saver, WM_CLOSE));
}

// Reads the failure box the scene shows, reports caption and text on stderr, and dismisses it.
static DWORD WINAPI dismissFailureBox(void*) {
    HWND box = NULL;
    while (!(box = FindWindowA("#32770", "Error Creating Window"))) Sleep(10);
    char text[128] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);   // a message box's text control
    std::fprintf(stderr, "[Error Creating Window] %s\n", text);
    std::fflush(stderr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

static void startWithSceneClassTaken() {
    WNDCLASSA taken;
    ZeroMemory(&taken, sizeof taken);
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(NULL);
    taken.lpszClassName = kSceneClassName;
    RegisterClassA(&taken);
    CloseHandle(CreateThread(NULL, 0, dismissFailureBox, NULL, 0, NULL));
    initHostState(GetModuleHandleA(NULL));
    startSaverWindow(NULL);
}

TEST(SceneSurfaceDeathTest, AFailedSetUpIsReportedOnceAndEndsTheProcessWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(startWithSceneClassTaken(), ::testing::ExitedWithCode(1),
                "\\[Error Creating Window\\] Sorry dude\\. Can't register the window class\\.");
}
