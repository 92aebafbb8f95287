// The saver window in its two forms, the process's message loop (which sleeps until a message
// comes or the scene's next frame is due), and the close-on-input rules.
// Every message of the window passes hostWindowProc's filters, then the scene's saverProc, which
// hands what it does not handle back to defaultSaverProc.
#include "host/win32/saver_window.h"

#include <imm.h>
#include <mmsystem.h>

#include "host/input_rules.h"
#include "host/win32/password_gate.h"
#include "host/win32/procedure_address.h"
#include "host/win32/run_modes.h"
#include "resources/resource_ids.h"
#include "scene/win32/scene_surface.h"

typedef HIMC(WINAPI* AssociateContextFn)(HWND window, HIMC context);

static struct {
    bool isPreview;
    HWND window;
    ScreenPoint mouseReference;
    UINT autoPlayQueryId;            // "QueryCancelAutoPlay", registered on Windows 9x only
    HMODULE inputMethodModule;       // IMM32.DLL, only when something else already loaded it
    AssociateContextFn associateContext;
    HIMC savedInputContext;
    bool destroyed;                  // WM_DESTROY has run
} gSaver;

static const char kSaverClassName[] = "WindowsScreenSaverClass";
static const char kFullScreenTitle[] = "Screen Saver";
static const char kPreviewTitle[] = "Preview";
static const UINT kSaverClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
static const DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
static const DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
static const int kWindowFailedExitCode = 1;  // same as a scene that cannot make its surface
// NOTE: waits are counted in the system's timer ticks, 15.6 ms unless a program asks for finer
// ones; at that grain a 60 Hz frame could not be waited for.
static const UINT kTimerResolutionMilliseconds = 1;

HWND saverWindowHandle() { return gSaver.window; }
bool hostIsPreview() { return gSaver.isPreview; }

static ScreenPoint cursorPosition() {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    const ScreenPoint position = {static_cast<int32_t>(cursor.x), static_cast<int32_t>(cursor.y)};
    return position;
}

static void requestClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// ---- close-on-input rules --------------------------------------------------------------------

static void closeOnMouseTravel(HWND window) {
    const ScreenPoint current = cursorPosition();
    if (mouseTravelEndsRun(gSaver.mouseReference, current)) {
        requestClose(window);
        gSaver.mouseReference = current;
    }
}

// Applies the input rules of a running full-screen saver. Returns true with *result set when the
// message is answered here; false lets it go on to the default handling.
static bool applyInputRule(HWND window, UINT message, WPARAM wParam, LRESULT* result) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) SetCursor(NULL);
            break;
        case WM_ACTIVATEAPP:
            if (!wParam) requestClose(window);
            break;
        case WM_SETCURSOR:
            SetCursor(NULL);
            *result = 1;
            return true;
        case WM_POWER:
            if (wParam == PWR_CRITICALRESUME) requestClose(window);
            break;
        case WM_POWERBROADCAST:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            requestClose(window);
            break;
        case WM_MOUSEMOVE:
            closeOnMouseTravel(window);
            break;
    }
    return false;
}

// The rules of a full-screen run before any close has been approved. Returns true with *result
// set when the message is answered here.
static bool applyRunningRules(HWND window, UINT message, WPARAM wParam, LRESULT* result) {
    if (message == WM_CLOSE && hostIsWin9x()) {
        if (verifyBeforeClose(window)) return false;
        gSaver.mouseReference = cursorPosition();  // the close is dropped; fresh input must try again
        *result = 0;
        return true;
    }
    if (message == kVerificationRequestMessage && hostIsWin9x()) {
        *result = answerVerificationRequest(window);
        return true;
    }
    if (passwordInDialog()) return false;
    return applyInputRule(window, message, wParam, result);
}

LRESULT CALLBACK defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!gSaver.isPreview && !passwordIsClosing()) {
        LRESULT result = 0;
        if (applyRunningRules(window, message, wParam, &result)) return result;
    }
    if (gSaver.autoPlayQueryId != 0 && message == gSaver.autoPlayQueryId) {
        requestClose(window);
        return passwordVerifierLoaded() ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- hostWindowProc: the host's filters in front of the scene -----------------------------------

typedef LRESULT (*MessageHandler)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

static void detachInputMethod(HWND window) {
    gSaver.inputMethodModule = GetModuleHandleA("IMM32.DLL");
    if (!gSaver.inputMethodModule) return;
    gSaver.associateContext =
        procedureAddress<AssociateContextFn>(gSaver.inputMethodModule, "ImmAssociateContext");
    if (gSaver.associateContext) gSaver.savedInputContext = gSaver.associateContext(window, NULL);
}

static void restoreInputMethod(HWND window) {
    if (gSaver.inputMethodModule && gSaver.associateContext && gSaver.savedInputContext) {
        gSaver.associateContext(window, gSaver.savedInputContext);
    }
}

static LRESULT onCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    gSaver.window = window;
    detachInputMethod(window);
    gSaver.mouseReference = cursorPosition();
    if (!gSaver.isPreview) SetCursor(NULL);
    return saverProc(window, message, wParam, lParam);
}

static LRESULT onDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    restoreInputMethod(window);
    PostQuitMessage(0);
    gSaver.destroyed = true;
    return saverProc(window, message, wParam, lParam);
}

// NOTE: when the process that owns the preview window dies without destroying it, our child is
// torn down with WM_NCDESTROY alone. Without this the run would go on as an orphan for ever.
static LRESULT onFinalDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!gSaver.destroyed) PostQuitMessage(0);
    return saverProc(window, message, wParam, lParam);
}

static LRESULT onSetText(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

static LRESULT onPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (passwordIsClosing()) return DefWindowProcA(window, message, wParam, lParam);
    if (!gSaver.isPreview) SetCursor(NULL);
    return saverProc(window, message, wParam, lParam);
}

static LRESULT onTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (passwordIsClosing()) return 0;
    Sleep(0);  // a saver is a background task: let other programs have the rest of the slice
    return saverProc(window, message, wParam, lParam);
}

// Help and context-menu requests over a preview belong to the settings page that shows it.
static LRESULT onHelpRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!gSaver.isPreview) return saverProc(window, message, wParam, lParam);
    const HWND parent = GetParent(window);
    if (parent && IsWindow(parent)) {
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    }
    return 1;
}

static LRESULT onSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool refused = wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE;
    if (!gSaver.isPreview && refused) return 0;
    return saverProc(window, message, wParam, lParam);
}

static LRESULT onUserInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (passwordIsClosing()) return DefWindowProcA(window, message, wParam, lParam);
    return saverProc(window, message, wParam, lParam);
}

struct MessageRoute {
    UINT message;
    MessageHandler handler;
};

static const MessageRoute kHostRoutes[] = {
    {WM_CREATE, onCreate},           {WM_DESTROY, onDestroy},
    {WM_NCDESTROY, onFinalDestroy},  {WM_SETTEXT, onSetText},
    {WM_PAINT, onPaint},             {WM_TIMER, onTimer},
    {WM_HELP, onHelpRequest},        {WM_CONTEXTMENU, onHelpRequest},
    {WM_SYSCOMMAND, onSysCommand},   {WM_KEYDOWN, onUserInput},
    {WM_SYSKEYDOWN, onUserInput},    {WM_MOUSEMOVE, onUserInput},
    {WM_LBUTTONDOWN, onUserInput},   {WM_RBUTTONDOWN, onUserInput},
    {WM_MBUTTONDOWN, onUserInput},
};

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const MessageRoute& route : kHostRoutes) {
        if (route.message == message) return route.handler(window, message, wParam, lParam);
    }
    return saverProc(window, message, wParam, lParam);
}

// ---- creation and the message loop ----------------------------------------------------------

static WNDCLASSA saverWindowClass() {
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.style = kSaverClassStyle;
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = hostModuleInstance();
    windowClass.hIcon = LoadIconA(hostModuleInstance(), MAKEINTRESOURCEA(kSaverIconId));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kSaverClassName;
    return windowClass;
}

static RECT screenClipBox() {
    RECT bounds = {0, 0, 0, 0};
    const HDC screen = GetDC(NULL);
    GetClipBox(screen, &bounds);
    ReleaseDC(NULL, screen);
    return bounds;
}

// A second full-screen start hands over to the run that is already up.
static bool bringRunningSaverForward() {
    const HWND running = FindWindowA(kSaverClassName, kFullScreenTitle);
    if (!running || !IsWindow(running)) return false;
    SetForegroundWindow(running);
    return true;
}

static HWND createSaverWindow(HWND previewWindow, const RECT& bounds) {
    const HINSTANCE instance = hostModuleInstance();
    if (previewWindow) {
        return CreateWindowExA(0, kSaverClassName, kPreviewTitle, kPreviewStyle, 0, 0,
                               bounds.right, bounds.bottom, previewWindow, NULL, instance, NULL);
    }
    return CreateWindowExA(WS_EX_TOPMOST, kSaverClassName, kFullScreenTitle, kFullScreenStyle,
                           bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, NULL, NULL, instance, NULL);
}

SaverStart startSaverWindow(HWND previewWindow) {
    const WNDCLASSA windowClass = saverWindowClass();
    gSaver = {};  // a run starts from nothing that an earlier run of this process left
    RECT bounds;
    if (previewWindow) {
        GetClientRect(previewWindow, &bounds);
        gSaver.isPreview = true;
    } else {
        bounds = screenClipBox();
        if (bringRunningSaverForward()) return SaverStart::AlreadyRunning;
        loadPasswordVerifier();
    }
    gSaver.autoPlayQueryId = hostIsWin9x() ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    HWND window = NULL;
    if (RegisterClassA(&windowClass)) window = createSaverWindow(previewWindow, bounds);
    gSaver.window = window;
    // NOTE: the settings page may destroy a preview's window before CreateWindowExA has returned
    // (its creation waits on messages to that page). The run has then ended normally: the window
    // came and went, and its quit message is already waiting for the loop.
    if (!window && gSaver.destroyed) return SaverStart::Created;
    if (!window) return SaverStart::Failed;
    if (!previewWindow) SetForegroundWindow(window);
    return SaverStart::Created;
}

// Every waiting message is handled first; then the loop sleeps until the next message or until
// the scene's next frame is due, when the scene's paint becomes the next message.
static int runMessageLoop() {
    MSG message;
    ZeroMemory(&message, sizeof message);
    for (;;) {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD wait = sceneFrameWaitMilliseconds();
        if (wait != 0) MsgWaitForMultipleObjectsEx(0, NULL, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

static int runWithFineTimer() {
    timeBeginPeriod(kTimerResolutionMilliseconds);
    const int exitCode = runMessageLoop();
    timeEndPeriod(kTimerResolutionMilliseconds);
    return exitCode;
}

void finishSaverWindow() {
    unloadPasswordVerifier();
    UnregisterClassA(kSaverClassName, hostModuleInstance());
}

int runSaverWindow(HWND previewWindow) {
    const SaverStart start = startSaverWindow(previewWindow);
    if (start == SaverStart::AlreadyRunning) return 0;
    const int exitCode = start == SaverStart::Created ? runWithFineTimer() : kWindowFailedExitCode;
    finishSaverWindow();
    return exitCode;
}
