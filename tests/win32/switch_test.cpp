// The real skyfold.scr started with every kind of switch, its full 32-bit exit code read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/win32/win32_test_support.h"

static const DWORD kRejected = 0xFFFFFFFFu;   // ExitProcess(-1)
static const DWORD kDialogEnded = 1;
static const char kSaverClass[] = "WindowsScreenSaverClass";
static const char kDialogClass[] = "#32770";

static std::string saverPath() { return besideTestProgram("skyfold.scr"); }
static std::string saver98Path() { return besideTestProgram("skyfold98.scr"); }

// "<quoted path> <switch>", the way Windows starts a saver.
static std::string withSwitch(const std::string& program, const std::string& switchText) {
    return "\"" + program + "\" " + switchText;
}

static std::string handleText(HWND window) {
    return std::to_string(handleNumber(window));
}

// Ends a full-screen run the way a key press does and returns its exit code.
static DWORD endFullScreenRun(ChildProcess& saver, HWND* saverWindow = NULL) {
    const HWND window = saver.waitForWindow(kSaverClass);
    if (saverWindow) *saverWindow = window;
    if (!window) return STILL_ACTIVE;
    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    return saver.waitForExit();
}

TEST(Switches, RejectedSwitchesEndWithMinusOneAndShowNothing) {
    const char* const rejected[] = {"x", "/?", "-5", "/\ts", "- \x01s", "\xE9s", "/p", "p:65538",
                                    "/p 0", "/p 4294967295", "/l", "/a 65538", "a"};
    for (const char* switchText : rejected) {
        ChildProcess saver(saverPath(), withSwitch(saverPath(), switchText));
        ASSERT_TRUE(saver.started());
        EXPECT_EQ(kRejected, saver.waitForExit()) << '"' << switchText << '"';
    }
}

TEST(Switches, EveryFormOfTheFullScreenSwitchRunsFullScreen) {
    const std::string path = saverPath();
    const std::string commandLines[] = {
        withSwitch(path, "s"),    withSwitch(path, "/s"),         withSwitch(path, "-s"),
        withSwitch(path, "S"),    withSwitch(path, "//--/ - /s"), withSwitch(path, "/s more words"),
        "\"C:\\Program Files\\Sky Fold\\skyfold.scr\"/s",     // a switch right after the quote
        "C:\\SAVERS\\SKYFOLD.SCR\t\x01  /s",                  // control characters after the name
    };
    for (const std::string& commandLine : commandLines) {
        ChildProcess saver(path, commandLine);
        ASSERT_TRUE(saver.started());
        EXPECT_EQ(0u, endFullScreenRun(saver)) << commandLine;
    }
}

TEST(Switches, ASecondFullScreenStartEndsWithZeroAndLeavesTheFirstRunning) {
    ChildProcess first(saverPath(), withSwitch(saverPath(), "/s"));
    const HWND window = first.waitForWindow(kSaverClass);
    ASSERT_NE(nullptr, window);
    char title[32] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("Screen Saver", title);

    ChildProcess second(saverPath(), withSwitch(saverPath(), "/s"));
    EXPECT_EQ(0u, second.waitForExit());
    EXPECT_TRUE(first.isRunning());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(0u, endFullScreenRun(first));
}

// A preview child appears in the host window; destroying the host window ends the run with 0.
static void expectPreviewIn(const std::string& switchText, HWND host) {
    ChildProcess saver(saverPath(), withSwitch(saverPath(), switchText));
    HWND preview = NULL;
    ASSERT_TRUE(pumpUntil([&] {
        preview = FindWindowExA(host, NULL, kSaverClass, "Preview");
        return preview != NULL || !saver.isRunning();
    }));
    ASSERT_NE(nullptr, preview) << switchText;
    RECT hostClient, previewClient;
    GetClientRect(host, &hostClient);
    GetClientRect(preview, &previewClient);
    EXPECT_EQ(hostClient.right, previewClient.right);
    EXPECT_EQ(hostClient.bottom, previewClient.bottom);
    DestroyWindow(host);
    EXPECT_EQ(0u, saver.waitForExit()) << switchText;
}

TEST(Switches, PreviewRunsInsideTheWindowWhoseHandleFollowsTheLetter) {
    const char* const forms[] = {"/p %s", "p%s", "-P    %s", "/l %s", "/p %s and more"};
    for (const char* form : forms) {
        const HWND host = createPlainWindow(152, 112, true);
        char switchText[64];
        std::snprintf(switchText, sizeof switchText, form, handleText(host).c_str());
        expectPreviewIn(switchText, host);
    }
}

TEST(Switches, APreviewWhoseHostClosesAtOnceStillEndsWithZero) {
    for (int run = 0; run < 8; ++run) {
        const HWND host = createPlainWindow(152, 112, true);
        ChildProcess saver(saverPath(), withSwitch(saverPath(), "/p " + handleText(host)));
        ASSERT_TRUE(pumpUntil([&] {
            return FindWindowExA(host, NULL, kSaverClass, "Preview") != NULL || !saver.isRunning();
        }));
        DestroyWindow(host);   // as soon as the preview appears, even while it is still being made
        EXPECT_EQ(0u, saver.waitForExit()) << "run " << run;
    }
}

TEST(Switches, HandlesOfMoreThanTenDigitsWrapModulo2To32) {
    const HWND host = createPlainWindow(152, 112, true);
    const unsigned long long wrapped = 3ull * 4294967296ull + handleNumber(host);
    expectPreviewIn("/p " + std::to_string(wrapped), host);
}

TEST(Switches, PreviewWithAColonOrADeadHandleEndsWithMinusOne) {
    const HWND host = createPlainWindow(152, 112, true);
    ChildProcess colon(saverPath(), withSwitch(saverPath(), "/p:" + handleText(host)));
    EXPECT_EQ(kRejected, colon.waitForExit());
    DestroyWindow(host);
    ChildProcess dead(saverPath(), withSwitch(saverPath(), "/p " + handleText(host)));
    EXPECT_EQ(kRejected, dead.waitForExit());
}

// Opens the dialog through the command line and returns its owner; the dialog is then cancelled
// and the run must end with the dialog's result.
static HWND dialogOwnerFor(const std::string& program, const std::string& commandLine) {
    ChildProcess saver(program, commandLine);
    const HWND dialog = saver.waitForWindow(kDialogClass);
    EXPECT_NE(nullptr, dialog) << commandLine;
    if (!dialog) return NULL;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(kDialogEnded, saver.waitForExit()) << commandLine;
    return owner;
}

TEST(Switches, ConfigureTakesItsOwnerOnlyFromAColonRightAfterTheLetter) {
    const HWND owner = createPlainWindow(200, 100, false);
    const HWND foreground = createPlainWindow(200, 100, true);
    const std::string number = handleText(owner);
    EXPECT_EQ(owner, dialogOwnerFor(saverPath(), withSwitch(saverPath(), "/c:" + number)));
    EXPECT_EQ(owner, dialogOwnerFor(saverPath(), withSwitch(saverPath(), "C:" + number + " x")));
    // Without the colon, with no digits, or with no such window: the foreground window.
    for (const std::string& switchText : {"/c " + number, "/c" + number, std::string("/c:"),
                                          std::string("/c:0"), std::string("/c:4294967295")}) {
        SetForegroundWindow(foreground);
        EXPECT_EQ(foreground, dialogOwnerFor(saverPath(), withSwitch(saverPath(), switchText)))
            << switchText;
    }
    DestroyWindow(foreground);
    DestroyWindow(owner);
}

TEST(Switches, NoSwitchOpensTheDialogWithoutOwner) {
    EXPECT_EQ(nullptr, dialogOwnerFor(saverPath(), "\"" + saverPath() + "\""));
    EXPECT_EQ(nullptr, dialogOwnerFor(saverPath(), "\"" + saverPath() + "\"   \t "));
}

// ---- Windows 98 emulation (skyfold98.scr, with test doubles of PASSWORD.CPL and MPR.DLL) ------

class Windows98 : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        logPath_ = std::string(folder) + "skyfold-double-" + std::to_string(GetCurrentProcessId()) +
                   ".log";
        DeleteFileA(logPath_.c_str());
        SetEnvironmentVariableA("SKYFOLD_DOUBLE_LOG", logPath_.c_str());
        RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop_);
    }
    void TearDown() override {
        RegDeleteValueA(desktop_, "ScreenSaveUsePassword");
        RegCloseKey(desktop_);
        SetEnvironmentVariableA("SKYFOLD_DOUBLE_LOG", NULL);
        SetEnvironmentVariableA("SKYFOLD_DOUBLE_VERIFY", NULL);
        DeleteFileA(logPath_.c_str());
    }
    void usePassword(DWORD value) {
        RegSetValueExA(desktop_, "ScreenSaveUsePassword", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    std::string log() const {
        std::ifstream file(logPath_);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string logPath_;
    HKEY desktop_ = NULL;
};

TEST_F(Windows98, ChangePasswordCallsTheProviderForTheScreenSaverAndEndsWithZero) {
    const HWND owner = createPlainWindow(200, 100, false);
    ChildProcess saver(saver98Path(), withSwitch(saver98Path(), "/a " + handleText(owner)));
    EXPECT_EQ(0u, saver.waitForExit());
    EXPECT_EQ("PwdChangePasswordA SCRSAVE " + handleText(owner) + "\n", log());
    DestroyWindow(owner);
}

TEST_F(Windows98, AFullScreenRunWithoutPasswordEndsWithoutAsking) {
    ChildProcess unset(saver98Path(), withSwitch(saver98Path(), "/s"));
    EXPECT_EQ(0u, endFullScreenRun(unset));
    usePassword(0);
    ChildProcess zero(saver98Path(), withSwitch(saver98Path(), "/s"));
    EXPECT_EQ(0u, endFullScreenRun(zero));
    EXPECT_EQ("", log());
}

TEST_F(Windows98, AnApprovedPasswordEndsTheRunWithZero) {
    usePassword(1);
    SetEnvironmentVariableA("SKYFOLD_DOUBLE_VERIFY", "accept");
    ChildProcess saver(saver98Path(), withSwitch(saver98Path(), "/s"));
    HWND window = NULL;
    EXPECT_EQ(0u, endFullScreenRun(saver, &window));
    EXPECT_EQ("VerifyScreenSavePwd " + handleText(window) + "\n", log());
}

TEST_F(Windows98, ACrashDuringTheRunIsCaughtByTheOutermostGuard) {
    usePassword(1);
    SetEnvironmentVariableA("SKYFOLD_DOUBLE_VERIFY", "crash");
    ChildProcess saver(saver98Path(), withSwitch(saver98Path(), "/s"));
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), endFullScreenRun(saver));
}

// ---- hostile input ------------------------------------------------------------------------------

TEST(HostileInput, OddCommandLinesEndAsTheGrammarSaysAndNeverCrash) {
    const std::string path = saverPath();
    std::string binary = "/";
    for (int byte = 1; byte < 256; ++byte) binary += static_cast<char>(byte);
    const std::string rejected[] = {
        "/p " + std::string(30000, '7'),                    // a very long handle
        "/p 99999999999999999999999999999999999999",        // wraps to a number that is no window
        binary,                                             // every byte value after the slash
        std::string(20000, '/') + "x",
    };
    for (const std::string& switchText : rejected) {
        ChildProcess saver(path, withSwitch(path, switchText));
        EXPECT_EQ(kRejected, saver.waitForExit()) << switchText.substr(0, 40);
    }
    ChildProcess longTail(path, withSwitch(path, "/s " + std::string(30000, 'z')));
    EXPECT_EQ(0u, endFullScreenRun(longTail));
}

TEST(HostileInput, APreviewInsideAnotherProcessesWindowRunsAndEndsOnClose) {
    // The desktop belongs to another process; it is a window, so the preview runs inside it.
    const HWND desktop = GetDesktopWindow();
    ChildProcess saver(saverPath(), withSwitch(saverPath(), "/p " + handleText(desktop)));
    HWND preview = NULL;
    ASSERT_TRUE(pumpUntil([&] {
        preview = FindWindowExA(desktop, NULL, kSaverClass, "Preview");
        return preview != NULL || !saver.isRunning();
    }));
    ASSERT_NE(nullptr, preview);
    PostMessageA(preview, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, saver.waitForExit());
}
