// A stand-in for the little monitor of the Screen Saver settings page: a window with a 152x112
// client area that runs "<saver> /p <hwnd>" inside it for a while, then closes the way the settings
// page does (by destroying its window) and reports the saver's exit code.
//
//   preview_host.exe <saver.scr> [seconds] [--abandon]
//
// --abandon ends this process without destroying the window, as a crashed settings page would.
// Prints "preview window <hwnd>", "saver process <pid>" and "saver exit code <code>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const int kPreviewClientWidth = 152;   // the settings page's monitor, in pixels
static const int kPreviewClientHeight = 112;
static const DWORD kDefaultRunMilliseconds = 5000;
static const DWORD kSaverExitWaitMilliseconds = 10000;
static const char kHostClassName[] = "SkyfoldPreviewHost";

static HWND createHostWindow() {
    WNDCLASSA hostClass;
    ZeroMemory(&hostClass, sizeof hostClass);
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(NULL);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    hostClass.lpszClassName = kHostClassName;
    RegisterClassA(&hostClass);
    RECT frame = {0, 0, kPreviewClientWidth, kPreviewClientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kHostClassName, "Skyfold preview", style, 40, 40,
                           frame.right - frame.left, frame.bottom - frame.top, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

// Pumps this thread's messages (the saver's child window sends to its parent) until the time is
// up or the process ends.
static void pumpMessages(DWORD milliseconds, HANDLE saverProcess) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        const DWORD woken = MsgWaitForMultipleObjects(1, &saverProcess, FALSE,
                                                      milliseconds - elapsed, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return;
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_host <saver.scr> [seconds] [--abandon]\n");
        return 2;
    }
    const DWORD runMilliseconds =
        argc > 2 ? static_cast<DWORD>(std::atof(argv[2]) * 1000.0) : kDefaultRunMilliseconds;
    const bool abandon = argc > 3 && std::strcmp(argv[3], "--abandon") == 0;

    const HWND host = createHostWindow();
    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" /p %lu", argv[1],
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(host)));
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver;
    if (!CreateProcessA(argv[1], commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &saver)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    std::printf("preview window %lu\nsaver process %lu\n",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(host)), saver.dwProcessId);
    std::fflush(stdout);

    pumpMessages(runMilliseconds, saver.hProcess);
    if (abandon) TerminateProcess(GetCurrentProcess(), 3);

    DestroyWindow(host);
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(saver.hProcess, kSaverExitWaitMilliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(saver.hProcess, &exitCode);
    }
    std::printf("saver exit code %lu\n", exitCode);
    return exitCode == STILL_ACTIVE ? 1 : static_cast<int>(exitCode);
}
