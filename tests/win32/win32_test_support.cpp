// Shared helpers of the Win32 test programs.
#include "tests/win32/win32_test_support.h"

static const DWORD kPumpSliceMilliseconds = 10;
static const char kPlainClassName[] = "SkyfoldTestWindow";

std::string besideTestProgram(const char* fileName) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + fileName;
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMilliseconds) return condition();
        MSG message;
        // One message at a time: a window that is never validated has WM_PAINT pending for ever.
        if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) DispatchMessageA(&message);
        } else {
            MsgWaitForMultipleObjects(0, NULL, FALSE, kPumpSliceMilliseconds, QS_ALLINPUT);
        }
    }
    return true;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

static BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && lstrcmpA(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findProcessWindow(DWORD processId, const char* className) {
    WindowSearch search = {processId, className, NULL};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND createPlainWindow(int clientWidth, int clientHeight, bool visible) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA plainClass;
        ZeroMemory(&plainClass, sizeof plainClass);
        plainClass.lpfnWndProc = DefWindowProcA;
        plainClass.hInstance = GetModuleHandleA(NULL);
        plainClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        plainClass.lpszClassName = kPlainClassName;
        registered = RegisterClassA(&plainClass) != 0;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | (visible ? WS_VISIBLE : 0);
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kPlainClassName, "Skyfold test window", style, 20, 20,
                           frame.right - frame.left, frame.bottom - frame.top, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

unsigned long handleNumber(HWND window) {
    return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window) & 0xFFFFFFFFu);
}

bool isMessagePending(HWND window, UINT message) {
    MSG waiting;
    return PeekMessageA(&waiting, window, message, message, PM_NOREMOVE) != 0;
}

int discardMessages(HWND window, UINT message) {
    MSG waiting;
    int count = 0;
    while (PeekMessageA(&waiting, window, message, message, PM_REMOVE)) ++count;
    return count;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& commandLine) {
    ZeroMemory(&info_, sizeof info_);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    std::string writable = commandLine;
    if (!CreateProcessA(program.c_str(), &writable[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &info_)) {
        ZeroMemory(&info_, sizeof info_);
    }
}

ChildProcess::~ChildProcess() {
    if (!info_.hProcess) return;
    if (isRunning()) {
        TerminateProcess(info_.hProcess, 0xDEAD);
        WaitForSingleObject(info_.hProcess, kWaitMilliseconds);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::isRunning() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::waitForExit(DWORD timeoutMilliseconds) {
    if (!info_.hProcess) return STILL_ACTIVE;
    pumpUntil([this] { return !isRunning(); }, timeoutMilliseconds);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &exitCode);
    return exitCode;
}

HWND ChildProcess::waitForWindow(const char* className) {
    HWND found = NULL;
    pumpUntil([&] {
        found = findProcessWindow(info_.dwProcessId, className);
        return found != NULL || !isRunning();
    });
    return found;
}
