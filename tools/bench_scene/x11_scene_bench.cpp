// Frame-time benchmark of the real scene on X11, the counterpart of scene_bench.exe under Wine:
// the scene's own surface, lists and textures on a full-screen window, a warm-up and a measured
// number of frames, one JSON object on stdout. With "bare" it runs the floor instead: a
// full-screen GLX window that only clears and swaps.
//
//   x11_scene_bench scene <notes> <currency> <warm-up frames> <frames>
//   x11_scene_bench bare <warm-up frames> <frames>
#include <X11/Xlib.h>
#include <GL/glx.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "scene/gl_api.h"
#include "scene/x11/scene_surface.h"
#include "settings/x11/settings_store.h"

static struct {
    long frames;
    double lastPresent;                // seconds, monotonic
    std::vector<double> milliseconds;  // measured frames only
    double firstFrameSeconds;          // process start to the end of the first frame
    double cpuSecondsAtStart;
    long warmUp, measured;
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

static void frameDone() {
    const double now = clockSeconds(CLOCK_MONOTONIC);
    if (gBench.frames == 0) gBench.firstFrameSeconds = secondsSinceProcessStart();
    if (gBench.frames == gBench.warmUp) gBench.cpuSecondsAtStart = clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    if (gBench.frames > gBench.warmUp) gBench.milliseconds.push_back(1000.0 * (now - gBench.lastPresent));
    gBench.lastPresent = now;
    ++gBench.frames;
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
    if (!openFullScreenWindow() || !createScene(gBench.display, gBench.window)) std::exit(2);
    while (gBench.frames <= gBench.warmUp + gBench.measured) {
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
    while (gBench.frames <= gBench.warmUp + gBench.measured) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glXSwapBuffers(gBench.display, gBench.window);
        frameDone();
    }
}

static double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1) + 0.5)];
}

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    if ((bare && argc != 4) || (!bare && argc != 6)) {
        std::fprintf(stderr, "usage: x11_scene_bench scene <notes> <currency> <warm-up> <frames>\n"
                             "       x11_scene_bench bare <warm-up> <frames>\n");
        return 2;
    }
    const int first = bare ? 2 : 4;
    gBench.warmUp = std::atol(argv[first]);
    gBench.measured = std::atol(argv[first + 1]);
    if (bare) {
        runBare();
    } else {
        runScene(std::atoi(argv[2]), std::atoi(argv[3]));
    }
    const double cpu = clockSeconds(CLOCK_PROCESS_CPUTIME_ID) - gBench.cpuSecondsAtStart;
    double total = 0;
    for (double ms : gBench.milliseconds) total += ms;
    const int screen = DefaultScreen(gBench.display);
    std::printf("{\"platform\": \"native\", \"mode\": \"%s\", \"notes\": %s, \"currency\": %s, "
                "\"width\": %d, \"height\": %d, \"frames\": %zu, \"fps\": %.2f, "
                "\"ms_median\": %.3f, \"ms_p99\": %.3f, \"cpu_seconds_per_frame\": %.5f, "
                "\"first_frame_ms\": %.1f}\n",
                bare ? "bare" : "scene", bare ? "0" : argv[2], bare ? "null" : argv[3],
                DisplayWidth(gBench.display, screen), DisplayHeight(gBench.display, screen),
                gBench.milliseconds.size(), 1000.0 * gBench.milliseconds.size() / total,
                percentile(gBench.milliseconds, 0.5), percentile(gBench.milliseconds, 0.99),
                cpu / gBench.milliseconds.size(), 1000.0 * gBench.firstFrameSeconds);
    return 0;
}
