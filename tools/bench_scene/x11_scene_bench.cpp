// Frame-time benchmark of the real scene on X11, the counterpart of scene_bench.exe under Wine:
// the scene's own surface, lists and textures on a full-screen window, with the allocator set as
// the Linux program sets it, a warm-up and a measured number of frames, one JSON object on stdout
// (with the minor page faults a frame). With "bare" it runs the floor instead: a full-screen GLX
// window that only clears and swaps.
//
//   x11_scene_bench scene <notes> <currency> <warm-up frames> <frames>
//   x11_scene_bench bare <warm-up frames> <frames>
#include <X11/Xlib.h>
#include <GL/glx.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scene/frame_pacing.h"
#include "scene/gl_api.h"
#include "scene/unix/renderer_memory.h"
#include "scene/x11/scene_surface.h"
#include "settings/x11/settings_store.h"
#include "tools/bench_scene/frame_times.h"

static struct {
    FrameTimes times;
    Display* display;
    Window window;
} gBench;

bool hostIsPreview() { return false; }  // the bench is the scene's host: a full-screen run

static double clockSeconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// The kernel counts a process's start in clock ticks since boot (/proc/self/stat, field 22).
static double secondsSinceProcessStart() {
    char stat[1024] = "";
    FILE* file = std::fopen("/proc/self/stat", "r");
    if (file) {
        std::fgets(stat, sizeof stat, file);
        std::fclose(file);
    }
    const char* field = std::strrchr(stat, ')');  // the name may hold blanks; fields 3 on follow
    unsigned long long startTicks = 0;
    for (int i = 3; field && i <= 22; ++i) {
        field = std::strchr(field + 1, ' ');
        if (field && i == 22) startTicks = std::strtoull(field + 1, nullptr, 10);
    }
    return clockSeconds(CLOCK_BOOTTIME) - static_cast<double>(startTicks) / sysconf(_SC_CLK_TCK);
}

static double processCpuSeconds() {
    return clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

static long processMinorFaults() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

static void frameDone() {
    gBench.times.presented(clockSeconds(CLOCK_MONOTONIC), secondsSinceProcessStart,
                           processCpuSeconds, processMinorFaults);
}

// A full-screen window of the scene's visual, as the saver's own full-screen run makes it.
static bool openFullScreenWindow() {
    gBench.display = XOpenDisplay(NULL);
    if (!gBench.display) return false;
    const int screen = DefaultScreen(gBench.display);
    XVisualInfo* visual = chooseSceneVisual(gBench.display, screen);
    if (!visual) return false;
    const Window root = RootWindow(gBench.display, screen);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(gBench.display, root, visual->visual, AllocNone);
    attributes.override_redirect = True;
    gBench.window = XCreateWindow(gBench.display, root, 0, 0, DisplayWidth(gBench.display, screen),
                                  DisplayHeight(gBench.display, screen), 0, visual->depth,
                                  InputOutput, visual->visual, CWColormap | CWOverrideRedirect,
                                  &attributes);
    XMapRaised(gBench.display, gBench.window);
    XFree(visual);
    return true;
}

static void runScene(int notes, int currency) {
    SettingOverrides overrides = {true, true, true, SaverSettings{notes, FrontOn, currency}};
    setSettingOverrides(overrides);
    const SceneFrameOptions unpaced = {kUnpacedFrameRate, false};  // frame times, not a paced run
    if (!openFullScreenWindow() || !createScene(gBench.display, gBench.window, unpaced)) {
        std::exit(2);
    }
    while (!gBench.times.done()) {
        drawSceneFrame();
        frameDone();
    }
}

static void runBare() {
    if (!openFullScreenWindow()) std::exit(2);
    XWindowAttributes window;
    XGetWindowAttributes(gBench.display, gBench.window, &window);
    XVisualInfo wanted;
    wanted.visualid = XVisualIDFromVisual(window.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(gBench.display, VisualIDMask, &wanted, &count);
    glXMakeCurrent(gBench.display, gBench.window, glXCreateContext(gBench.display, visual, NULL, True));
    while (!gBench.times.done()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glXSwapBuffers(gBench.display, gBench.window);
        frameDone();
    }
}

int main(int argc, char** argv) {
    BenchArguments run;
    if (!readBenchArguments(argc, argv, &gBench.times, &run)) return 2;
    keepRendererMemoryMapped();
    if (run.notes) {
        runScene(std::atoi(run.notes), std::atoi(run.currency));
    } else {
        runBare();
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);  // the size the frames were drawn at
    printRun("native", run.notes, run.currency, viewport[2], viewport[3], gBench.times,
             processCpuSeconds(), processMinorFaults());
    return 0;
}
