// Entry work of the saver process: the outermost exception guard and the four run modes
// (configure, full screen, preview, password change) with their exit codes. Calls run one way from
// here: to the saver window, the password gate and the platform facts, never back.
#include "host/win32/run_modes.h"

#include <cstdint>

#include "host/command_line.h"
#include "host/win32/password_gate.h"
#include "host/win32/platform_facts.h"
#include "host/win32/procedure_address.h"
#include "host/win32/saver_window.h"
#include "resources/resource_ids.h"
#include "settings/win32/config_dialog.h"

static const int kRejectedExitCode = -1;    // unknown switch, or no usable preview window
static const int kPasswordChangedExitCode = 0;

// Window handles travel as 32-bit decimal numbers; widen them the way Windows widens handles
// between 32- and 64-bit processes (sign extension).
static HWND windowFromHandleValue(uint32_t value) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<int32_t>(value)));
}

static HWND ownerOrForeground(uint32_t handle) {
    const HWND owner = windowFromHandleValue(handle);
    if (handle == 0 || !IsWindow(owner)) return GetForegroundWindow();
    return owner;
}

// NOTE: installed as the process's top-level filter, so an exception that escapes any mode reaches
// it through the system's unhandled-exception processing (a debugger, when attached, sees it first).
// It makes sure the system's screen-saver-running flag is not left on after a crash, then ends the
// process with the exception's code.
static LONG WINAPI guardUnhandledException(EXCEPTION_POINTERS* exception) {
    setSaverRunningFlag(false);
    ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

// The dialog's face is a picture of fixed pixels with its controls placed on it. In a DPI-unaware
// context the system scales the finished window as one picture on a scaled display, so the labels
// stay on their controls and the corners stay round. SetThreadDpiAwarenessContext exists from
// Windows 10 1607 on; before that the dialog is laid out at the system's DPI and fitted to its
// face by the dialog itself. The previous context comes back, or null when nothing was changed.
typedef HANDLE(WINAPI* SetThreadDpiAwarenessContextFn)(HANDLE);
static HANDLE setThreadDpiContext(HANDLE context) {
    const SetThreadDpiAwarenessContextFn setContext =
        procedureAddress<SetThreadDpiAwarenessContextFn>(GetModuleHandleA("user32.dll"),
                                                         "SetThreadDpiAwarenessContext");
    return setContext ? setContext(context) : NULL;
}

int openConfigDialog(HWND owner) {
    const HANDLE kUnawareContext = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
    const HANDLE previous = setThreadDpiContext(kUnawareContext);
    const int result = static_cast<int>(DialogBoxParamA(
        hostModuleInstance(), MAKEINTRESOURCEA(kConfigDialogId), owner, configDialogProc, 0));
    if (previous) setThreadDpiContext(previous);
    return result;
}

static int runPreview(uint32_t handle) {
    const HWND previewWindow = windowFromHandleValue(handle);
    if (handle == 0 || !IsWindow(previewWindow)) return kRejectedExitCode;
    return runSaverWindow(previewWindow);
}

static int runChangePassword(uint32_t handle) {
    if (!hostIsWin9x()) return kRejectedExitCode;
    changePassword(ownerOrForeground(handle));
    return kPasswordChangedExitCode;
}

static int runMode(const SwitchChoice& choice) {
    switch (choice.mode) {
        case RunMode::Configure:
            return openConfigDialog(choice.namesOwner ? ownerOrForeground(choice.handle) : NULL);
        case RunMode::FullScreen: return runSaverWindow(NULL);
        case RunMode::Preview: return runPreview(choice.handle);
        case RunMode::ChangePassword: return runChangePassword(choice.handle);
        case RunMode::Rejected: break;
    }
    return kRejectedExitCode;
}

int dispatchCommandLine(HINSTANCE moduleInstance, const char* switchText) {
    initHostState(moduleInstance);
    SetUnhandledExceptionFilter(guardUnhandledException);
    return runMode(scanSwitchText(switchText));
}
