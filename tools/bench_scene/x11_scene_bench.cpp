// Frame-time benchmark of the real scene on X11, the counterpart of scene_bench.exe under Wine:
// the scene's own surface, lists and textures on a full-screen window, with the allocator set as
// the Linux program sets it, a warm-up and a measured number of frames, one JSON object on stdout
// (with the minor page faults a frame, and the triangles in view over some more frames). With
// "bare" it runs the floor instead: a full-screen GLX window that only clears and swaps.
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
#include "settings/unix/settings_store.h"
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

typedef void (*GenQueriesFn)(GLsizei, GLuint*);
typedef void (*BeginQueryFn)(GLenum, GLuint);
typedef void (*EndQueryFn)(GLenum);
typedef void (*GetQueryObjectFn)(GLuint, GLenum, GLuint*);
static const GLenum kClippingOutputPrimitives = 0x82F7;  // GL_CLIPPING_OUTPUT_PRIMITIVES_ARB
static const GLenum kQueryResult = 0x8866;               // GL_QUERY_RESULT
static const int kCountedFrames = 10;  // the notes in view change from frame to frame

static void (*glProcedure(const char* name))() {
    return glXGetProcAddress(reinterpret_cast<const GLubyte*>(name));
}

// The primitives that leave clipping in a frame, over some more frames (with llvmpipe's
// ARB_pipeline_statistics_query): the triangles of the notes in view, both faces of each, as
// culling comes after; -1 where the driver cannot count them.
static long primitivesInView() {
    const GenQueriesFn genQueries = reinterpret_cast<GenQueriesFn>(glProcedure("glGenQueries"));
    const BeginQueryFn beginQuery = reinterpret_cast<BeginQueryFn>(glProcedure("glBeginQuery"));
    const EndQueryFn endQuery = reinterpret_cast<EndQueryFn>(glProcedure("glEndQuery"));
    const GetQueryObjectFn result =
        reinterpret_cast<GetQueryObjectFn>(glProcedure("glGetQueryObjectuiv"));
    if (!genQueries || !beginQuery || !endQuery || !result) return -1;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!extensions || !std::strstr(extensions, "GL_ARB_pipeline_statistics_query")) return -1;
    GLuint query = 0;
    genQueries(1, &query);
    beginQuery(kClippingOutputPrimitives, query);
    for (int frame = 0; frame < kCountedFrames; ++frame) drawSceneFrame();
    endQuery(kClippingOutputPrimitives);
    GLuint primitives = 0;
    result(query, kQueryResult, &primitives);
    return static_cast<long>(primitives) / kCountedFrames;
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
    const double cpuSecondsAtEnd = processCpuSeconds();
    const long faultsAtEnd = processMinorFaults();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);  // the size the frames were drawn at
    char primitives[64] = "";
    if (run.notes) {
        std::snprintf(primitives, sizeof primitives, ", \"primitives_in_view\": %ld",
                      primitivesInView());
    }
    printRun("native", run.notes, run.currency, viewport[2], viewport[3], gBench.times,
             cpuSecondsAtEnd, faultsAtEnd, primitives);
    return 0;
}
