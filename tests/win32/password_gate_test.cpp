// The password gate of a full-screen run on Windows 98 (this program runs with Wine's Windows 98
// emulation), driven in-process against the PASSWORD.CPL test double built beside it. Each test
// has a run of its own, and a double freshly loaded whenever it uses one.
#include <gtest/gtest.h>

#include "host/win32/password_gate.h"
#include "host/password_throttle.h"
#include "host/win32/run_modes.h"
#include "host/win32/saver_window.h"
#include "tests/win32/recording_scene.h"
#include "tests/win32/saver_run.h"
#include "tests/win32/win32_test_support.h"

typedef void(WINAPI* SetVerifyResultFn)(BOOL result);
typedef LONG(WINAPI* VerifyCallsFn)();
typedef void(WINAPI* DuringVerifyFn)(HWND window);
typedef void(WINAPI* SetDuringVerifyFn)(DuringVerifyFn action);

class PasswordGate : public ::testing::Test {
protected:
    void SetUp() override {
        initHostState(GetModuleHandleA(NULL));
        ASSERT_TRUE(hostIsWin9x()) << "the prefix must emulate Windows 98 for this program";
        RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop_);
        RegDeleteValueA(desktop_, "ScreenSaveUsePassword");
    }
    // The double goes with the test's last reference, and its counts and answers with it.
    void TearDown() override {
        endSaverRun();
        if (double_) FreeLibrary(double_);
        RegDeleteValueA(desktop_, "ScreenSaveUsePassword");
        RegCloseKey(desktop_);
    }
    template <typename Function>
    Function doubleEntry(const char* name) {
        if (!double_) double_ = LoadLibraryA("PASSWORD.CPL");
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)(void)>(GetProcAddress(double_, name)));
    }
    void usePassword(DWORD value, BOOL verifierAnswer) {
        RegSetValueExA(desktop_, "ScreenSaveUsePassword", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
        setVerifierAnswer(verifierAnswer);
    }
    void setVerifierAnswer(BOOL answer) {
        doubleEntry<SetVerifyResultFn>("DoubleSetVerifyResult")(answer);
    }
    LONG verifierCalls() { return doubleEntry<VerifyCallsFn>("DoubleVerifyCalls")(); }
    void start() {
        ASSERT_EQ(SaverStart::Created, startSaverWindow(NULL));
        window_ = saverWindowHandle();
    }
    // A close request as the input rules make it: WM_CLOSE posted, then dispatched.
    void requestClose() {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        MSG close;
        while (PeekMessageA(&close, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) DispatchMessageA(&close);
    }
    void waitPastTheThrottle() {
        const DWORD start = GetTickCount();
        pumpUntil([&] { return GetTickCount() - start > kVerifyIntervalMilliseconds; });
    }

    HKEY desktop_ = NULL;
    HWND window_ = NULL;
    HMODULE double_ = NULL;
};

TEST_F(PasswordGate, WithoutThePasswordSettingNoVerifierIsLoadedAndCloseIsImmediate) {
    start();
    EXPECT_FALSE(passwordVerifierLoaded());
    EXPECT_EQ(nullptr, GetModuleHandleA("PASSWORD.CPL"));
    requestClose();
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(PasswordGate, ASettingOfZeroMeansNoPassword) {
    usePassword(0, FALSE);
    start();
    EXPECT_FALSE(passwordVerifierLoaded());
    requestClose();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, verifierCalls());
}

TEST_F(PasswordGate, ARefusedPasswordKeepsTheRunAndThrottlesTheNextRequest) {
    usePassword(1, FALSE);
    start();
    ASSERT_TRUE(passwordVerifierLoaded());
    requestClose();                               // the first request is never throttled
    EXPECT_EQ(1, verifierCalls());
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_FALSE(passwordIsClosing());
    requestClose();                               // within 200 ms: dropped without a dialog
    EXPECT_EQ(1, verifierCalls());
    waitPastTheThrottle();
    requestClose();
    EXPECT_EQ(2, verifierCalls());
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(PasswordGate, AnyNonzeroAnswerApprovesTheClose) {
    usePassword(1, 7);
    start();
    requestClose();
    EXPECT_EQ(1, verifierCalls());
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(passwordIsClosing());
}

TEST_F(PasswordGate, AKeyPressAsksForThePasswordOnce) {
    usePassword(1, TRUE);
    start();
    SendMessageA(window_, WM_KEYDOWN, 'A', 0);
    requestClose();                               // dispatches the close the key press posted
    EXPECT_EQ(1, verifierCalls());
    EXPECT_FALSE(IsWindow(window_));
}

static void WINAPI pressKeysDuringDialog(HWND window) {
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);         // a nested close: dropped, no second dialog
}

TEST_F(PasswordGate, InputWhileTheDialogIsUpChangesNothing) {
    usePassword(1, FALSE);
    doubleEntry<SetDuringVerifyFn>("DoubleSetDuringVerify")(pressKeysDuringDialog);
    start();
    requestClose();
    EXPECT_EQ(1, verifierCalls());
    EXPECT_FALSE(isMessagePending(window_, WM_CLOSE));
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(PasswordGate, QueryCancelAutoPlayRequestsACloseAndCancelsWithAVerifier) {
    usePassword(1, FALSE);
    start();
    const UINT query = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(1, SendMessageA(window_, query, 0, 0));
    EXPECT_TRUE(isMessagePending(window_, WM_CLOSE));
}

TEST_F(PasswordGate, QueryCancelAutoPlayAnswersZeroWithoutAVerifier) {
    start();
    const UINT query = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(0, SendMessageA(window_, query, 0, 0));
    EXPECT_TRUE(isMessagePending(window_, WM_CLOSE));
}

TEST_F(PasswordGate, UnloadingFreesTheVerifier) {
    usePassword(1, FALSE);
    start();
    unloadPasswordVerifier();
    EXPECT_FALSE(passwordVerifierLoaded());
    requestClose();                               // no verifier: approved at once
    EXPECT_FALSE(IsWindow(window_));
}
