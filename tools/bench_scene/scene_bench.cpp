// Frame-time benchmark of the real scene: runs the saver's own window, scene, lists and textures
// full screen for a warm-up and a measured number of frames and prints one JSON object. With
// "bare" it runs the floor instead: a full-screen OpenGL window that only clears and swaps. With
// "paced" it runs the saver as in use, with the real message loop and its pacing, and prints the
// frames per second presented over the measured seconds after the warm-up (tools/bench's cost
// run, which reads the CPU time itself). Every run prints the size it drew at (the GL viewport):
// under Wine that is the size of the display the prefix's wineserver started on, which need not
// be the one in DISPLAY.
//
//   scene_bench.exe scene <notes> <currency> <warm-up frames> <frames>
//   scene_bench.exe bare <warm-up frames> <frames>
//   scene_bench.exe paced <notes> <currency> <warm-up seconds> <measured seconds>
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/win32/platform_facts.h"
#include "host/win32/saver_window.h"
#include "scene/frame_pacing.h"
#include "scene/win32/scene_surface.h"
#include "tools/bench_scene/frame_times.h"

static const char kSettingsKey[] = "Software\\Quillmark\\Skyfold";
static const int kFrontOn = 1;  // a steady camera: every frame draws the same kind of view

static struct {
    FrameTimes times;
    long pacedFramesAtStart;
    double pacedStartSeconds;
    double pacedFramesPerSecond;
    GLint pacedViewport[4];
} gBench;

static const UINT kMillisecondsPerSecond = 1000;

static double fileTimeSeconds(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
}

static double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return fileTimeSeconds(kernel) + fileTimeSeconds(user);
}

static double secondsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    return fileTimeSeconds(now) - fileTimeSeconds(created);
}

// Called after every presented frame.
static void frameDone() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    gBench.times.presented(static_cast<double>(now.QuadPart) / frequency.QuadPart,
                           secondsSinceProcessStart, processCpuSeconds);
}

static void writeSettings(DWORD notes, DWORD currency) {
    HKEY key;
    RegCreateKeyA(HKEY_CURRENT_USER, kSettingsKey, &key);
    const DWORD angle = kFrontOn;
    RegSetValueExA(key, "Number of Notes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&notes), 4);
    RegSetValueExA(key, "View Angle", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&angle), 4);
    RegSetValueExA(key, "Type of Currency", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&currency), 4);
    RegCloseKey(key);
}

// The scene's frames are WM_PAINTs of its child window; one dispatched paint is one frame.
static void runScene() {
    initHostState(GetModuleHandleA(NULL));
    unpaceSceneFrames();  // frame times, not a paced run
    if (startSaverWindow(NULL) != SaverStart::Created) std::exit(2);
    MSG message;
    while (!gBench.times.done() && GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
        if (message.message == WM_PAINT) frameDone();
    }
}

static double counterSeconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

static void CALLBACK startMeasuring(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(NULL, timer);
    gBench.pacedFramesAtStart = framesPresentedSinceStart();
    gBench.pacedStartSeconds = counterSeconds();
}

static void CALLBACK stopMeasuring(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(NULL, timer);
    gBench.pacedFramesPerSecond = (framesPresentedSinceStart() - gBench.pacedFramesAtStart) /
                                  (counterSeconds() - gBench.pacedStartSeconds);
    glGetIntegerv(GL_VIEWPORT, gBench.pacedViewport);  // while the scene's context is current
    DestroyWindow(saverWindowHandle());
}

// The saver as skyfold.scr /s runs it; thread timers mark the measured span and end the run.
static void runPaced(const char* warmUpSeconds, const char* measuredSeconds) {
    initHostState(GetModuleHandleA(NULL));
    const UINT warmUp = static_cast<UINT>(std::atof(warmUpSeconds) * kMillisecondsPerSecond);
    const UINT measured = static_cast<UINT>(std::atof(measuredSeconds) * kMillisecondsPerSecond);
    SetTimer(NULL, 0, warmUp, startMeasuring);
    SetTimer(NULL, 0, warmUp + measured, stopMeasuring);
    runSaverWindow(NULL);
    std::printf("{\"fps\": %.1f, \"width\": %d, \"height\": %d}\n", gBench.pacedFramesPerSecond,
                gBench.pacedViewport[2], gBench.pacedViewport[3]);
    std::fflush(stdout);
}

static LRESULT CALLBACK bareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(GetDC(window));
    return 0;  // never validated, as in the scene: the next paint follows at once
}

static void runBare() {
    WNDCLASSA bareClass;
    ZeroMemory(&bareClass, sizeof bareClass);
    bareClass.style = CS_OWNDC;
    bareClass.lpfnWndProc = bareWindowProc;
    bareClass.lpszClassName = "SkyfoldBareBench";
    RegisterClassA(&bareClass);
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, "SkyfoldBareBench", "Bare", WS_POPUP | WS_VISIBLE,
                                        0, 0, GetSystemMetrics(SM_CXSCREEN),
                                        GetSystemMetrics(SM_CYSCREEN), NULL, NULL, NULL, NULL);
    const HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR format = scenePixelFormat();
    SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format);
    wglMakeCurrent(dc, wglCreateContext(dc));
    MSG message;
    while (!gBench.times.done() && GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
        if (message.message == WM_PAINT) frameDone();
    }
}

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "paced") == 0) {
        writeSettings(static_cast<DWORD>(std::atol(argv[2])),
                      static_cast<DWORD>(std::atol(argv[3])));
        runPaced(argv[4], argv[5]);
        ExitProcess(0);
    }
    BenchArguments run;
    if (!readBenchArguments(argc, argv, &gBench.times, &run)) return 2;
    if (run.notes) {
        writeSettings(static_cast<DWORD>(std::atol(run.notes)),
                      static_cast<DWORD>(std::atol(run.currency)));
        runScene();
    } else {
        runBare();
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    printRun("wine", run.notes, run.currency, viewport[2], viewport[3], gBench.times,
             processCpuSeconds());
    ExitProcess(0);
}
