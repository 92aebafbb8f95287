// The configuration dialog of the real skyfold.scr, opened through its command line and driven
// from this process: its shape, its buttons and slider, and what OK and Cancel leave in the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "host/win32/procedure_address.h"
#include "tests/win32/win32_test_support.h"

static const char kKey[] = "Software\\Quillmark\\Skyfold";
static const DWORD kDialogEnded = 1;

struct Stored {
    bool present;
    int32_t notes, angle, currency;
};

static Stored readStored() {
    Stored stored = {false, 0, 0, 0};
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return stored;
    stored.present = true;
    const char* names[] = {"Number of Notes", "View Angle", "Type of Currency"};
    int32_t* fields[] = {&stored.notes, &stored.angle, &stored.currency};
    for (int i = 0; i < 3; ++i) {
        DWORD size = sizeof(int32_t);
        if (RegQueryValueExA(key, names[i], NULL, NULL, reinterpret_cast<BYTE*>(fields[i]), &size)) {
            stored.present = false;
        }
    }
    RegCloseKey(key);
    return stored;
}

static void writeStored(int32_t notes, int32_t angle, int32_t currency) {
    HKEY key;
    RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key);
    RegSetValueExA(key, "Number of Notes", 0, REG_DWORD, reinterpret_cast<BYTE*>(&notes), 4);
    RegSetValueExA(key, "View Angle", 0, REG_DWORD, reinterpret_cast<BYTE*>(&angle), 4);
    RegSetValueExA(key, "Type of Currency", 0, REG_DWORD, reinterpret_cast<BYTE*>(&currency), 4);
    RegCloseKey(key);
}

// DPI awareness entries of Windows 10 1607 and later, bound by name (older headers lack them).
typedef HANDLE(WINAPI* SetThreadDpiAwarenessContextFn)(HANDLE);
typedef HANDLE(WINAPI* GetWindowDpiAwarenessContextFn)(HWND);
typedef int(WINAPI* GetAwarenessFromDpiAwarenessContextFn)(HANDLE);
static const HANDLE kUnawareContext = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
static const int kDpiUnaware = 0;

template <typename Function>
static Function user32Entry(const char* name) {
    return procedureAddress<Function>(GetModuleHandleA("user32.dll"), name);
}

// Window rectangles as a DPI-unaware program sees them, so that they come in the dialog's own
// pixels whatever the display's scale (run by tests/win32/at_display_scale.sh at 150 and 200 %).
static void measureInDialogPixels() {
    const SetThreadDpiAwarenessContextFn setContext =
        user32Entry<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
    if (setContext) setContext(kUnawareContext);
}

class ConfigDialog : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        measureInDialogPixels();
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }

    void open(const std::string& switchText = "/c") {
        const std::string saver = besideTestProgram("skyfold.scr");
        process_.reset(new ChildProcess(saver, "\"" + saver + "\" " + switchText));
        dialog_ = process_->waitForWindow("#32770");
        ASSERT_NE(nullptr, dialog_);
        // A dialog is shown once its initialisation is over.
        ASSERT_TRUE(pumpUntil([this] { return IsWindowVisible(dialog_) != FALSE; }));
    }
    DWORD close(int button) {
        PostMessageA(dialog_, WM_COMMAND, button, 0);
        return process_->waitForExit();
    }
    HWND item(int id) { return GetDlgItem(dialog_, id); }
    bool checked(int id) { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void click(int id) { SendMessageA(item(id), BM_CLICK, 0, 0); }
    int scroll(int request, int thumb = 0) {
        SendMessageA(dialog_, WM_HSCROLL, MAKEWPARAM(request, thumb),
                     reinterpret_cast<LPARAM>(item(1007)));
        return static_cast<int>(SendMessageA(item(1007), SBM_GETPOS, 0, 0));
    }

    std::unique_ptr<ChildProcess> process_;
    HWND dialog_ = NULL;
};

TEST_F(ConfigDialog, IsA495By298WindowWithRoundedCorners) {
    open();
    RECT frame;
    GetWindowRect(dialog_, &frame);
    EXPECT_EQ(495, frame.right - frame.left);
    EXPECT_EQ(298, frame.bottom - frame.top);
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, GetWindowRgn(dialog_, region));
    EXPECT_FALSE(PtInRegion(region, 1, 1));            // a rounded corner
    EXPECT_TRUE(PtInRegion(region, 247, 149));
    DeleteObject(region);
    EXPECT_EQ(kDialogEnded, close(IDCANCEL));
}

// Scaled by the system as one picture on a scaled display, rather than laid out anew.
TEST_F(ConfigDialog, IsADpiUnawareWindow) {
    const GetWindowDpiAwarenessContextFn windowContext =
        user32Entry<GetWindowDpiAwarenessContextFn>("GetWindowDpiAwarenessContext");
    const GetAwarenessFromDpiAwarenessContextFn awareness =
        user32Entry<GetAwarenessFromDpiAwarenessContextFn>("GetAwarenessFromDpiAwarenessContext");
    if (!windowContext || !awareness) GTEST_SKIP() << "no per-window DPI awareness on this system";
    open();
    EXPECT_EQ(kDpiUnaware, awareness(windowContext(dialog_)));
    EXPECT_EQ(kDialogEnded, close(IDCANCEL));
}

// The face is painted for the template laid out with 6 x 13 base units (1.5 pixels a unit across,
// 298/183 down), whatever font metrics this system lays the template out with.
TEST_F(ConfigDialog, ControlsSitOnTheirPaintedLabels) {
    open();
    struct Placed { int id; double x, y, width, height; };   // dialog units, from the template
    const Placed controls[] = {{IDOK, 267, 103, 50, 14}, {1000, 227, 15, 10, 8},
                               {1006, 227, 82, 10, 8}, {1007, 11, 110, 244, 11}};
    for (const Placed& c : controls) {
        RECT box;
        GetWindowRect(item(c.id), &box);
        MapWindowPoints(NULL, dialog_, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_NEAR(c.x * 1.5, box.left, 1.5) << c.id;
        EXPECT_NEAR(c.y * 298 / 183, box.top, 1.5) << c.id;
        EXPECT_NEAR((c.x + c.width) * 1.5, box.right, 1.5) << c.id;
        EXPECT_NEAR((c.y + c.height) * 298 / 183, box.bottom, 1.5) << c.id;
    }
    EXPECT_EQ(kDialogEnded, close(IDCANCEL));
}

TEST_F(ConfigDialog, OkOnAFreshSystemWritesTheDefaults) {
    open();
    EXPECT_TRUE(checked(1000));
    EXPECT_TRUE(checked(1006));
    EXPECT_EQ(200, SendMessageA(item(1007), SBM_GETPOS, 0, 0));
    EXPECT_EQ(kDialogEnded, close(IDOK));
    const Stored stored = readStored();
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(200, stored.notes);
    EXPECT_EQ(3, stored.angle);
    EXPECT_EQ(0, stored.currency);
}

TEST_F(ConfigDialog, ButtonsAndSliderChangeWhatOkWrites) {
    open();
    click(1002);
    click(1003);
    EXPECT_TRUE(checked(1002));
    EXPECT_FALSE(checked(1000));
    EXPECT_EQ(210, scroll(SB_PAGERIGHT));
    EXPECT_EQ(kDialogEnded, close(IDOK));
    const Stored stored = readStored();
    EXPECT_EQ(210, stored.notes);
    EXPECT_EQ(0, stored.angle);
    EXPECT_EQ(2, stored.currency);
}

TEST_F(ConfigDialog, EveryScrollRequestMovesTheCountAsTheSliderRules) {
    open();
    EXPECT_EQ(199, scroll(SB_LINELEFT));
    EXPECT_EQ(200, scroll(SB_LINERIGHT));
    EXPECT_EQ(190, scroll(SB_PAGELEFT));
    EXPECT_EQ(190, scroll(SB_THUMBTRACK, 800));      // dragging: nothing until release
    EXPECT_EQ(800, scroll(SB_THUMBPOSITION, 800));
    EXPECT_EQ(1495, scroll(SB_THUMBPOSITION, 1495));
    EXPECT_EQ(1500, scroll(SB_PAGERIGHT));
    EXPECT_EQ(80, scroll(SB_THUMBPOSITION, 80));
    EXPECT_EQ(75, scroll(SB_PAGELEFT));
    EXPECT_EQ(75, scroll(SB_LINELEFT));
    EXPECT_EQ(1500, scroll(SB_RIGHT));
    EXPECT_EQ(75, scroll(SB_LEFT));
    EXPECT_EQ(75, scroll(SB_ENDSCROLL));
    EXPECT_EQ(kDialogEnded, close(IDOK));
    EXPECT_EQ(75, readStored().notes);
}

TEST_F(ConfigDialog, CancelAfterChangesLeavesTheRegistryAlone) {
    writeStored(500, 1, 1);
    open();
    click(1000);
    click(1005);
    scroll(SB_RIGHT);
    EXPECT_EQ(kDialogEnded, close(IDCANCEL));
    const Stored stored = readStored();
    EXPECT_EQ(500, stored.notes);
    EXPECT_EQ(1, stored.angle);
    EXPECT_EQ(1, stored.currency);
}

TEST_F(ConfigDialog, OutOfRangeValuesCheckNoButtonAndAreWrittenBackUnchanged) {
    writeStored(4000, 7, -1);
    open();
    for (int id = 1000; id <= 1006; ++id) EXPECT_FALSE(checked(id)) << id;
    EXPECT_EQ(kDialogEnded, close(IDOK));
    const Stored stored = readStored();
    EXPECT_EQ(4000, stored.notes);
    EXPECT_EQ(7, stored.angle);
    EXPECT_EQ(-1, stored.currency);
}

TEST_F(ConfigDialog, OpensFromEveryConfigureSwitch) {
    const HWND owner = createPlainWindow(100, 100, false);
    for (const std::string& switchText :
         {std::string(""), std::string("/c"), "/c:" + std::to_string(handleNumber(owner))}) {
        open(switchText);
        EXPECT_EQ(kDialogEnded, close(IDCANCEL)) << switchText;
    }
    DestroyWindow(owner);
}
