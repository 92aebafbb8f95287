// The OpenGL surface of a run on Wayland: the EGL display, config and context, an EGL window
// surface per view, the views' frame callbacks and pacing, the frame's clock, draw and swap, and
// the teardown order. Every view shares the one context, so the textures and display lists are
// built once; the views take turns being current. Failures are reported on stderr with the texts
// the Windows build shows in its message boxes.
#include "scene/wayland/scene_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-egl.h>

#include <cstdio>

#include "scene/frame_clock.h"
#include "scene/frame_rate_meter.h"
#include "scene/frame_rate_overlay.h"
#include "scene/render_state.h"
#include "scene/scene_start.h"
#include "scene/scene_view.h"
#include "scene/scene_views.h"
#include "scene/unix/machine_sources.h"
#include "scene/unix/scene_report.h"

struct WaylandView {
    bool inUse;
    wl_surface* surface;
    wl_egl_window* window;
    EGLSurface eglSurface;
    wl_callback* frameCallback;  // asked for with the last frame; null once it came
    bool lost;                   // its surface can no longer be made current: never due
    double refreshHertz;
    OfferedFramePacing pacing;
    SceneView scene;
};

static const int kMostViews = 16;  // monitors of one run

static struct {
    EGLDisplay display;
    EGLConfig config;
    EGLContext context;
    SceneFrameOptions frames;
    bool sceneStarted;
    PowerWatch power;
    WaylandView views[kMostViews];
} gSurface;
static const EGLint kColourBits = 8;
static const EGLint kDepthBits = 16;
static const EGLint kMostConfigs = 64;

static bool paced() {
    return gSurface.frames.frameRateCeiling != kUnpacedFrameRate;
}

// ---- EGL -------------------------------------------------------------------------------------

static EGLDisplay waylandEglDisplay(wl_display* display) {
    typedef EGLDisplay (*GetPlatformDisplayFn)(EGLenum platform, void* native,
                                               const EGLint* attributes);
    GetPlatformDisplayFn getPlatformDisplay =
        reinterpret_cast<GetPlatformDisplayFn>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay) return getPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    return eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
}

static EGLint configAttribute(EGLConfig config, EGLint attribute) {
    EGLint value = 0;
    eglGetConfigAttrib(gSurface.display, config, attribute, &value);
    return value;
}

// NOTE: eglChooseConfig takes sizes as minimums and sorts deeper colour first, so 10-bit and
// alpha configs come before the plain one: 10 bits halve the frame rate through a compositor that
// converts them, and alpha lets the desktop show through the banner. Only the exact one will do.
static bool chooseConfig() {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, kColourBits, EGL_GREEN_SIZE, kColourBits,
                             EGL_BLUE_SIZE, kColourBits, EGL_DEPTH_SIZE, kDepthBits, EGL_NONE};
    EGLConfig configs[kMostConfigs];
    EGLint count = 0;
    if (!eglChooseConfig(gSurface.display, wanted, configs, kMostConfigs, &count)) return false;
    for (EGLint i = 0; i < count; ++i) {
        if (configAttribute(configs[i], EGL_RED_SIZE) == kColourBits &&
            configAttribute(configs[i], EGL_GREEN_SIZE) == kColourBits &&
            configAttribute(configs[i], EGL_BLUE_SIZE) == kColourBits &&
            configAttribute(configs[i], EGL_ALPHA_SIZE) == 0) {
            gSurface.config = configs[i];
            return true;
        }
    }
    return false;
}

bool createWaylandScene(wl_display* display, const SceneFrameOptions& frames) {
    gSurface.frames = frames;
    gSurface.display = waylandEglDisplay(display);
    if (gSurface.display == EGL_NO_DISPLAY || !eglInitialize(gSurface.display, nullptr, nullptr)) {
        return reportSurfaceFailure("Sorry dude. Can't get the DC.");
    }
    if (!eglBindAPI(EGL_OPENGL_API) || !chooseConfig()) {
        return reportSurfaceFailure("Sorry dude. Can't get a pixel format.");
    }
    // No version or profile asked for: desktop OpenGL's default is a context compatible with 1.0,
    // which drivers serve as their highest compatibility profile, display lists and all.
    gSurface.context = eglCreateContext(gSurface.display, gSurface.config, EGL_NO_CONTEXT, nullptr);
    if (gSurface.context == EGL_NO_CONTEXT) {
        return reportSurfaceFailure("Sorry dude. Can't get a rendering context.");
    }
    return true;
}

static bool makeCurrent(WaylandView* view) {
    return eglMakeCurrent(gSurface.display, view->eglSurface, view->eglSurface, gSurface.context);
}

// ---- the views -------------------------------------------------------------------------------

static WaylandView* freeSlot() {
    for (WaylandView& view : gSurface.views) {
        if (!view.inUse) return &view;
    }
    return nullptr;
}

// The scene is built on the first view, once its surface is current: what a run on one window
// does at its creation.
static void startSceneAt(int32_t widthPixels, int32_t heightPixels) {
    viewWidth = widthPixels;
    viewHeight = heightPixels;
    startScene();
    startPowerWatch(&gSurface.power, paced(), readFrameClock());
    if (gSurface.frames.showFrameRate) createFrameRateOverlay();
    gSurface.sceneStarted = true;
}

static void freeView(WaylandView* view) {
    endSceneView(&view->scene);
    if (view->frameCallback) wl_callback_destroy(view->frameCallback);
    if (view->eglSurface != EGL_NO_SURFACE) eglDestroySurface(gSurface.display, view->eglSurface);
    if (view->window) wl_egl_window_destroy(view->window);
    *view = WaylandView{};
}

WaylandView* addWaylandView(wl_surface* surface, int32_t widthPixels, int32_t heightPixels,
                            double refreshHertz) {
    WaylandView* view = freeSlot();
    if (!view) {
        reportSurfaceFailure("Sorry dude. Can't create the window.");
        return nullptr;
    }
    *view = WaylandView{};
    view->inUse = true;
    view->surface = surface;
    view->refreshHertz = refreshHertz;
    view->window = wl_egl_window_create(surface, widthPixels, heightPixels);
    view->eglSurface = view->window ? eglCreateWindowSurface(gSurface.display, gSurface.config,
                                                             reinterpret_cast<EGLNativeWindowType>(
                                                                 view->window),
                                                             nullptr)
                                    : EGL_NO_SURFACE;
    const char* failure = nullptr;
    if (view->eglSurface == EGL_NO_SURFACE) failure = "Sorry dude. Can't set the pixel format.";
    else if (!makeCurrent(view)) failure = "Sorry dude. Can't activate the RC.";
    if (failure) {
        reportSurfaceFailure(failure);
        freeView(view);
        return nullptr;
    }
    // NOTE: the frame callbacks pace every view; with a swap interval of 1 Mesa would also wait in
    // eglSwapBuffers for the surface's own callback, and a hidden monitor would stall them all.
    eglSwapInterval(gSurface.display, 0);
    if (!gSurface.sceneStarted) startSceneAt(widthPixels, heightPixels);
    startSceneView(&view->scene, widthPixels, heightPixels, readFrameClock(), processCpuSeconds());
    return view;
}

void resizeWaylandView(WaylandView* view, int32_t widthPixels, int32_t heightPixels) {
    if (widthPixels == view->scene.width && heightPixels == view->scene.height) return;
    wl_egl_window_resize(view->window, widthPixels, heightPixels, 0, 0);
    resizeSceneViewTo(&view->scene, widthPixels, heightPixels);
}

void setWaylandViewRefresh(WaylandView* view, double refreshHertz) {
    view->refreshHertz = refreshHertz;
}

// NOTE: a context can only be kept current without a surface where EGL offers surfaceless
// contexts; it is let go instead, and the next view's frame makes it current again.
void removeWaylandView(WaylandView* view) {
    if (eglGetCurrentSurface(EGL_DRAW) == view->eglSurface) {
        eglMakeCurrent(gSurface.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    freeView(view);
}

bool waylandSceneStarted() {
    return gSurface.sceneStarted;
}

bool waylandViewLost(const WaylandView* view) {
    return view->lost;
}

// ---- frames ----------------------------------------------------------------------------------

static double targetFramesOf(const WaylandView* view) {
    const PacingConditions conditions = {view->refreshHertz, gSurface.power.onBattery,
                                         gSurface.frames.frameRateCeiling, false};
    return targetFramesPerSecond(conditions);
}

// Seconds until the view may draw; negative while its frame callback has not come.
static double secondsUntilViewFrame(const WaylandView* view, double now) {
    if (view->frameCallback || view->lost) return -1.0;
    return secondsUntilOfferedFrame(view->pacing, targetFramesOf(view), view->refreshHertz, now);
}

double secondsUntilWaylandFrame() {
    const double now = readFrameClock();
    double soonest = -1.0;
    for (const WaylandView& view : gSurface.views) {
        if (!view.inUse) continue;
        const double wait = secondsUntilViewFrame(&view, now);
        if (wait >= 0.0 && (soonest < 0.0 || wait < soonest)) soonest = wait;
    }
    return soonest;
}

static void onFrameCallback(void* data, wl_callback* callback, uint32_t) {
    WaylandView* view = static_cast<WaylandView*>(data);
    wl_callback_destroy(callback);
    view->frameCallback = nullptr;
}

static const wl_callback_listener kFrameCallbackListener = {onFrameCallback};

// The next frame callback is asked for before the swap, which commits the surface with it.
static void drawView(WaylandView* view) {
    if (!makeCurrent(view)) {
        std::fprintf(stderr, "skyfold: a monitor's surface can no longer be drawn on (EGL error "
                             "0x%04x)\n", static_cast<unsigned>(eglGetError()));
        view->lost = true;
        return;
    }
    enterSceneView(&view->scene);
    advanceFrameClock();
    drawFrame();
    if (gSurface.frames.showFrameRate) drawFrameRateOverlay(frameRateText(), viewWidth, viewHeight);
    if (paced()) {
        view->frameCallback = wl_surface_frame(view->surface);
        wl_callback_add_listener(view->frameCallback, &kFrameCallbackListener, view);
    }
    eglSwapBuffers(gSurface.display, view->eglSurface);
    const double presented = readFrameClock();
    if (gSurface.frames.showFrameRate) countMeteredFrame(presented, processCpuSeconds);
    leaveSceneView(&view->scene);
    offeredFrameDrawn(&view->pacing, targetFramesOf(view), presented);
}

void drawDueWaylandViews() {
    powerWatchReread(&gSurface.power, readFrameClock());
    for (WaylandView& view : gSurface.views) {
        if (view.inUse && !sceneQuitRequested() &&
            secondsUntilViewFrame(&view, readFrameClock()) == 0.0) {
            drawView(&view);
        }
    }
}

static WaylandView* viewToRelease() {
    for (WaylandView& view : gSurface.views) {
        if (view.inUse && !view.lost && makeCurrent(&view)) return &view;
    }
    return nullptr;
}

// Without a view to make the context current on, the textures and lists go with the context.
void releaseWaylandSceneResources() {
    if (!gSurface.sceneStarted || !viewToRelease()) return;
    releaseSceneResources();
    releaseFrameRateOverlay();
    gSurface.sceneStarted = false;
}

void destroyWaylandScene() {
    if (gSurface.display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(gSurface.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    for (WaylandView& view : gSurface.views) {
        if (view.inUse) freeView(&view);
    }
    if (gSurface.context != EGL_NO_CONTEXT) eglDestroyContext(gSurface.display, gSurface.context);
    eglTerminate(gSurface.display);
    gSurface.context = EGL_NO_CONTEXT;
    gSurface.display = EGL_NO_DISPLAY;
}
