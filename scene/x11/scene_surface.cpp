// The OpenGL surface of a run on X11: the GLX context on the host's window and its swap interval,
// the window's views (one, or one per monitor of the screen), the frame's pacing, clock, draw and
// swap, and the teardown order. Failures are reported on stderr with the texts the Windows build
// shows in its message boxes (scene/unix/scene_report).
#include "scene/x11/scene_surface.h"

#include <GL/glx.h>

#include <cstring>

#include "scene/frame_clock.h"
#include "scene/frame_pacing.h"
#include "scene/frame_rate_meter.h"
#include "scene/frame_rate_overlay.h"
#include "scene/render_state.h"
#include "scene/scene_platform.h"
#include "scene/scene_start.h"
#include "scene/scene_view.h"
#include "scene/unix/machine_sources.h"
#include "scene/unix/scene_report.h"
#include "scene/window_views.h"
#include "scene/x11/pacing_sources.h"
#include "scene/x11/screen_monitors.h"

typedef void (*SwapIntervalExtFn)(Display* display, GLXDrawable drawable, int interval);
typedef int (*SwapIntervalMesaFn)(unsigned int interval);
typedef int (*SwapIntervalSgiFn)(int interval);

static struct {
    Display* display;
    Window window;
    int screen;
    GLXContext renderContext;
    bool showFrameRate;
    PowerWatch power;
    int32_t windowWidth, windowHeight;  // pixels
    bool viewPerMonitor;  // the window lies over the whole screen
} gSurface;

XVisualInfo* chooseSceneVisual(Display* display, int screen) {
    int attributes[] = {GLX_RGBA,       GLX_DOUBLEBUFFER, GLX_RED_SIZE,   1, GLX_GREEN_SIZE, 1,
                        GLX_BLUE_SIZE,  1,                GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) reportSurfaceFailure("Sorry dude. Can't get a pixel format.");
    return visual;
}

// The visual the window was made with: a context of any other visual could not draw on it.
static XVisualInfo* windowVisual(Display* display, const XWindowAttributes& attributes) {
    XVisualInfo wanted;
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    return XGetVisualInfo(display, VisualIDMask, &wanted, &count);
}

static bool makeContext(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        return reportSurfaceFailure("Sorry dude. Can't get the DC.");
    }
    XVisualInfo* visual = windowVisual(display, attributes);
    if (!visual) return reportSurfaceFailure("Sorry dude. Can't get a pixel format.");
    int usesGl = 0;
    if (glXGetConfig(display, visual, GLX_USE_GL, &usesGl) != 0 || !usesGl) {
        XFree(visual);
        return reportSurfaceFailure("Sorry dude. Can't set the pixel format.");
    }
    gSurface.renderContext = glXCreateContext(display, visual, NULL, True);
    XFree(visual);
    if (!gSurface.renderContext) {
        return reportSurfaceFailure("Sorry dude. Can't get a rendering context.");
    }
    if (!glXMakeCurrent(display, window, gSurface.renderContext)) {
        return reportSurfaceFailure("Sorry dude. Can't activate the RC.");
    }
    gSurface.windowWidth = viewWidth = attributes.width;
    gSurface.windowHeight = viewHeight = attributes.height;
    gSurface.screen = XScreenNumberOfScreen(attributes.screen);
    return true;
}

// ---- swap interval -----------------------------------------------------------------------------

static bool hasGlxExtension(const char* name) {
    const char* list = glXQueryExtensionsString(gSurface.display, gSurface.screen);
    const size_t length = std::strlen(name);
    for (const char* at = list; at && (at = std::strstr(at, name)) != NULL; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        if (starts && (at[length] == ' ' || at[length] == '\0')) return true;
    }
    return false;
}

template <typename Function>
static Function glxEntry(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// Asks the driver to wait for the display at each swap (interval 1) or never (0). True when one
// of the three extensions took it; the EXT one reports failures as X errors only, so its result
// is read back.
static bool setSwapInterval(int interval) {
    if (hasGlxExtension("GLX_EXT_swap_control")) {
        SwapIntervalExtFn set = glxEntry<SwapIntervalExtFn>("glXSwapIntervalEXT");
        if (!set) return false;
        set(gSurface.display, gSurface.window, interval);
        unsigned int taken = 0;
        glXQueryDrawable(gSurface.display, gSurface.window, GLX_SWAP_INTERVAL_EXT, &taken);
        return taken == static_cast<unsigned int>(interval);
    }
    if (hasGlxExtension("GLX_MESA_swap_control")) {
        SwapIntervalMesaFn set = glxEntry<SwapIntervalMesaFn>("glXSwapIntervalMESA");
        return set && set(static_cast<unsigned int>(interval)) == 0;
    }
    if (hasGlxExtension("GLX_SGI_swap_control") && interval > 0) {  // SGI's cannot turn it off
        SwapIntervalSgiFn set = glxEntry<SwapIntervalSgiFn>("glXSwapIntervalSGI");
        return set && set(interval) == 0;
    }
    return false;
}

// ---- the scene ---------------------------------------------------------------------------------

static void startPacing(const SceneFrameOptions& frames) {
    const bool paced = frames.frameRateCeiling != kUnpacedFrameRate;
    const bool swapCanWait = setSwapInterval(paced ? 1 : 0) && paced;
    const double now = readFrameClock();
    startPowerWatch(&gSurface.power, paced, now);
    const PacingConditions conditions = {displayRefreshHertz(gSurface.display, gSurface.window),
                                         gSurface.power.onBattery, frames.frameRateCeiling,
                                         swapCanWait};
    startFramePacing(conditions, now);
}

// The views for the window's present size: one per monitor of the screen, or one of the window.
static void layOutViews() {
    PixelRect monitors[kMostWindowViews];
    const int count = gSurface.viewPerMonitor
                          ? findScreenMonitors(gSurface.display, gSurface.screen, monitors,
                                               kMostWindowViews)
                          : 0;
    layOutWindowViews(monitors, count, gSurface.windowWidth, gSurface.windowHeight,
                      readFrameClock(), processCpuSeconds());
}

bool createScene(Display* display, Window window, const SceneFrameOptions& frames) {
    gSurface.display = display;
    gSurface.window = window;
    if (!makeContext(display, window)) return false;
    startScene();
    layOutViews();
    startPacing(frames);
    gSurface.showFrameRate = frames.showFrameRate;
    if (gSurface.showFrameRate) createFrameRateOverlay();
    return true;
}

void showViewPerMonitor() {
    gSurface.viewPerMonitor = true;
    layOutViews();
}

void sceneMonitorsChanged() {
    if (gSurface.viewPerMonitor) layOutViews();
}

double sceneSecondsUntilNextFrame() {
    return secondsUntilNextFrame(readFrameClock());
}

static void rereadPowerState(double now) {
    if (powerWatchReread(&gSurface.power, now)) setPacingOnBattery(gSurface.power.onBattery);
}

// Each view's rate in its own lower left corner: the views of one window are presented together,
// so a view's frame is counted as it is drawn.
static void showViewFrameRate() {
    drawFrameRateOverlay(frameRateText(), viewWidth, viewHeight);
    countMeteredFrame(readFrameClock(), processCpuSeconds);
}

void drawSceneFrame() {
    const double began = readFrameClock();
    frameBegins(began);
    rereadPowerState(began);
    drawWindowViews(gSurface.showFrameRate ? showViewFrameRate : nullptr);
    glXSwapBuffers(gSurface.display, gSurface.window);
    framePresented(readFrameClock());
}

void resizeScene(int32_t width, int32_t height) {
    if (width == gSurface.windowWidth && height == gSurface.windowHeight) return;
    gSurface.windowWidth = width;
    gSurface.windowHeight = height;
    layOutViews();
}

void destroyScene() {
    if (!gSurface.renderContext) return;
    releaseSceneResources();
    releaseFrameRateOverlay();
    glXMakeCurrent(gSurface.display, None, NULL);
    glXDestroyContext(gSurface.display, gSurface.renderContext);
    gSurface.renderContext = NULL;
    endWindowViews();
}
