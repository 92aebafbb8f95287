// The OpenGL surface of a run on X11: the GLX context on the host's window, the frame's clock,
// draw and swap, and the teardown order. Failures are reported on stderr with the texts the
// Windows build shows in its message boxes.
#include "scene/x11/scene_surface.h"

#include <GL/glx.h>

#include <cstdio>

#include "scene/banner_motion.h"
#include "scene/frame_clock.h"
#include "scene/render_state.h"
#include "scene/scene_platform.h"
#include "scene/scene_start.h"
#include "scene/scene_view.h"

static struct {
    Display* display;
    Window window;
    GLXContext renderContext;
    bool quitRequested;
} gSurface;


void showSceneError(const char* caption, const char* text) {
    std::fprintf(stderr, "skyfold: %s: %s\n", caption, text);
}

void quitSceneRun() {
    gSurface.quitRequested = true;
}

bool sceneQuitRequested() {
    return gSurface.quitRequested;
}

static bool reportFailure(const char* text) {
    showSceneError(kSurfaceFailureCaption, text);
    return false;
}

XVisualInfo* chooseSceneVisual(Display* display, int screen) {
    int attributes[] = {GLX_RGBA,       GLX_DOUBLEBUFFER, GLX_RED_SIZE,   1, GLX_GREEN_SIZE, 1,
                        GLX_BLUE_SIZE,  1,                GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) reportFailure("Sorry dude. Can't get a pixel format.");
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
        return reportFailure("Sorry dude. Can't get the DC.");
    }
    XVisualInfo* visual = windowVisual(display, attributes);
    if (!visual) return reportFailure("Sorry dude. Can't get a pixel format.");
    int usesGl = 0;
    if (glXGetConfig(display, visual, GLX_USE_GL, &usesGl) != 0 || !usesGl) {
        XFree(visual);
        return reportFailure("Sorry dude. Can't set the pixel format.");
    }
    gSurface.renderContext = glXCreateContext(display, visual, NULL, True);
    XFree(visual);
    if (!gSurface.renderContext) return reportFailure("Sorry dude. Can't get a rendering context.");
    if (!glXMakeCurrent(display, window, gSurface.renderContext)) {
        return reportFailure("Sorry dude. Can't activate the RC.");
    }
    viewWidth = attributes.width;
    viewHeight = attributes.height;
    return true;
}

bool createScene(Display* display, Window window) {
    gSurface.display = display;
    gSurface.window = window;
    if (!makeContext(display, window)) return false;
    startScene();
    return true;
}

void drawSceneFrame() {
    advanceFrameClock();
    drawFrame();
    glXSwapBuffers(gSurface.display, gSurface.window);
}

void resizeScene(int32_t width, int32_t height) {
    if (width == viewWidth && height == viewHeight) return;
    keepBannerInView(viewWidth, width);
    viewWidth = width;
    viewHeight = height;
    rebuildViewProjection();
}

void destroyScene() {
    if (!gSurface.renderContext) return;
    releaseSceneResources();
    glXMakeCurrent(gSurface.display, None, NULL);
    glXDestroyContext(gSurface.display, gSurface.renderContext);
    gSurface.renderContext = NULL;
}
