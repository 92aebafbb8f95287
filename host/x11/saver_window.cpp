// The X11 run: the window the scene draws on, the loop that handles X events and waits on the X
// connection until the scene's next frame is due, and the rules that end the run. A full-screen
// window follows the screen: it is resized with it, and the scene told when its monitors change.
// Every end goes through the scene's teardown and exits with 0; X errors are never printed, since
// the daemon may destroy its window at any moment.
#include "host/x11/saver_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>
#include <poll.h>

#include <cmath>
#include <cstdio>

#include "host/input_rules.h"
#include "host/unix/display_report.h"
#include "host/unix/run_control.h"
#include "scene/frame_pacing.h"
#include "scene/scene_platform.h"
#include "scene/x11/scene_surface.h"

static struct {
    Display* display;
    Window window;          // the one the scene draws on
    bool ownsWindow;        // made here (its own window or the full screen), destroyed here
    DrawTarget target;
    Colormap colormap;      // of a window made here; None otherwise
    Cursor blankCursor;     // full screen only
    Atom deleteWindow;      // WM_DELETE_WINDOW: the window manager's close
    ScreenPoint mouseReference;
    bool hasFocus;          // full screen: focus came, so losing it ends the run
    bool ending;
    bool windowGone;
    bool errorSeen;         // any X error since the start
    int screenChangeEvent;  // RandR's RRScreenChangeNotify event type; 0 when not followed
    sigset_t waitMask;      // the signal mask while sleeping: the run's signals unblocked
} gRun;

static const int kSurfaceFailedExitCode = 1;
static const long kOwnWindowEvents = KeyPressMask | StructureNotifyMask;
static const long kFullScreenEvents =
    KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | StructureNotifyMask;
static const long kGivenWindowEvents = StructureNotifyMask;  // its input belongs to the daemon
static const double kNanosecondsPerSecond = 1e9;

// NOTE: a daemon destroys its window when the user comes back, often while a frame is being drawn;
// the errors that the drawing then causes only mean that the run is over.
static int onXError(Display*, XErrorEvent* error) {
    gRun.errorSeen = true;
    if (error->resourceid == gRun.window) gRun.windowGone = true;
    return 0;
}

static ScreenPoint pointerPosition() {
    Window root, child;
    int rootX = 0, rootY = 0, windowX, windowY;
    unsigned int buttons;
    XQueryPointer(gRun.display, DefaultRootWindow(gRun.display), &root, &child, &rootX, &rootY,
                  &windowX, &windowY, &buttons);
    return {rootX, rootY};
}

// ---- the window ------------------------------------------------------------------------------

static Cursor makeBlankCursor(Window window) {
    static const char kNoBits[1] = {0};
    const Pixmap empty = XCreateBitmapFromData(gRun.display, window, kNoBits, 1, 1);
    XColor black = {};
    const Cursor cursor = XCreatePixmapCursor(gRun.display, empty, empty, &black, &black, 0, 0);
    XFreePixmap(gRun.display, empty);
    return cursor;
}

static void nameWindow(Window window) {
    XStoreName(gRun.display, window, kWindowTitle);
    XClassHint classHint = {const_cast<char*>(kApplicationId), const_cast<char*>(kWindowTitle)};
    XSetClassHint(gRun.display, window, &classHint);
    gRun.deleteWindow = XInternAtom(gRun.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(gRun.display, window, &gRun.deleteWindow, 1);
}

// A window of the scene's visual: the full screen without decorations, or a managed window.
static bool makeWindow(const ProgramOptions& options) {
    Display* display = gRun.display;
    const int screen = DefaultScreen(display);
    XVisualInfo* visual = chooseSceneVisual(display, screen);
    if (!visual) return false;
    const Window root = RootWindow(display, screen);
    const bool fullScreen = options.target == DrawTarget::FullScreen;
    gRun.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes = {};
    attributes.colormap = gRun.colormap;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = fullScreen ? kFullScreenEvents : kOwnWindowEvents;
    attributes.override_redirect = fullScreen ? True : False;
    const int width = fullScreen ? DisplayWidth(display, screen) : options.width;
    const int height = fullScreen ? DisplayHeight(display, screen) : options.height;
    gRun.window = XCreateWindow(display, root, 0, 0, width, height, 0, visual->depth, InputOutput,
                                visual->visual,
                                CWColormap | CWBackPixel | CWEventMask | CWOverrideRedirect,
                                &attributes);
    XFree(visual);
    XSync(display, False);
    if (gRun.errorSeen) {
        showSceneError(kSurfaceFailureCaption, "Sorry dude. Can't create the window.");
        return false;
    }
    gRun.ownsWindow = true;
    if (fullScreen) {
        gRun.blankCursor = makeBlankCursor(gRun.window);
        XDefineCursor(display, gRun.window, gRun.blankCursor);
    }
    nameWindow(gRun.window);
    XMapRaised(display, gRun.window);
    return true;
}

// The window xscreensaver (or its settings' preview) made, or the root window.
static bool takeWindow(Window window) {
    XWindowAttributes attributes;
    gRun.window = window;
    if (!XGetWindowAttributes(gRun.display, window, &attributes)) {
        std::fprintf(stderr, "skyfold: there is no window 0x%lx on this display\n", window);
        return false;
    }
    XSelectInput(gRun.display, window, kGivenWindowEvents);
    return true;
}

static bool setUpWindow(const ProgramOptions& options) {
    gRun.target = options.target;
    switch (options.target) {
        case DrawTarget::GivenWindow: return takeWindow(options.windowId);
        case DrawTarget::RootWindow: return takeWindow(DefaultRootWindow(gRun.display));
        case DrawTarget::OwnWindow:
        case DrawTarget::FullScreen: return makeWindow(options);
        case DrawTarget::Background: break;  // Wayland's alone: refused before a run starts
    }
    return false;
}

static int windowWidth() {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(gRun.display, gRun.window, &attributes)) return 0;
    return attributes.width;
}

// ---- events ----------------------------------------------------------------------------------

// The user's doing ends the run, or is handed to the idle watcher.
static void endRun() {
    if (inputEndsRun()) gRun.ending = true;
}

static void onKeyPress(XEvent& event) {
    const KeySym key = XLookupKeysym(&event.xkey, 0);
    if (keyEndsRun(gRun.target, key == XK_q || key == XK_Escape)) endRun();
}

static void onButtonPress(XEvent&) {
    if (pressEndsRun(gRun.target)) endRun();
}

// Travel is measured from the reference point, so small moves add up.
static void onPointerMotion(XEvent& event) {
    if (!pointerTravelCounts(gRun.target)) return;
    const ScreenPoint current = {event.xmotion.x_root, event.xmotion.y_root};
    if (mouseTravelEndsRun(gRun.mouseReference, current)) endRun();
}

static void onFocusIn(XEvent&) {
    gRun.hasFocus = true;
}

// Focus moving to another program ends a full-screen run; focus moving within it does not.
static void onFocusOut(XEvent& event) {
    const XFocusChangeEvent& change = event.xfocus;
    if (gRun.target != DrawTarget::FullScreen || !gRun.hasFocus) return;
    if (change.mode != NotifyNormal && change.mode != NotifyWhileGrabbed) return;
    if (change.detail == NotifyInferior || change.detail == NotifyPointer) return;
    endRun();
}

// The full-screen window takes the keyboard once it is on screen.
static void onMap(XEvent& event) {
    if (gRun.target == DrawTarget::FullScreen && event.xmap.window == gRun.window) {
        XSetInputFocus(gRun.display, gRun.window, RevertToParent, CurrentTime);
    }
}

// The full-screen window takes the screen's new size; the scene reads the monitors again.
static void followScreen(int width, int height) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(gRun.display, gRun.window, &attributes) &&
        (attributes.width != width || attributes.height != height)) {
        XResizeWindow(gRun.display, gRun.window, width, height);
    }
    sceneMonitorsChanged();
}

// NOTE: setting or deleting a RandR monitor (xrandr --setmonitor) sends no screen change, only a
// configure of the root window.
static void onConfigure(XEvent& event) {
    const XConfigureEvent& change = event.xconfigure;
    if (change.window == gRun.window) {
        resizeScene(change.width, change.height);
    } else if (gRun.target == DrawTarget::FullScreen &&
               change.window == DefaultRootWindow(gRun.display)) {
        followScreen(change.width, change.height);
    }
}

static void onScreenChange(XEvent& event) {
    XRRUpdateConfiguration(&event);
    const int screen = DefaultScreen(gRun.display);
    followScreen(DisplayWidth(gRun.display, screen), DisplayHeight(gRun.display, screen));
}

static void onDestroy(XEvent& event) {
    if (event.xdestroywindow.window == gRun.window) gRun.windowGone = true;
}

static void onClientMessage(XEvent& event) {
    const XClientMessageEvent& message = event.xclient;
    if (message.format == 32 && static_cast<Atom>(message.data.l[0]) == gRun.deleteWindow &&
        gRun.deleteWindow != None) {
        endRun();
    }
}

typedef void (*EventHandler)(XEvent& event);

struct EventRoute {
    int type;
    EventHandler handler;
};

static const EventRoute kEventRoutes[] = {
    {KeyPress, onKeyPress},         {ButtonPress, onButtonPress},
    {MotionNotify, onPointerMotion}, {FocusIn, onFocusIn},
    {FocusOut, onFocusOut},         {MapNotify, onMap},
    {ConfigureNotify, onConfigure}, {DestroyNotify, onDestroy},
    {ClientMessage, onClientMessage},
};

static void dispatchEvent(XEvent& event) {
    if (gRun.screenChangeEvent != 0 && event.type == gRun.screenChangeEvent) {
        return onScreenChange(event);
    }
    for (const EventRoute& route : kEventRoutes) {
        if (route.type == event.type) return route.handler(event);
    }
}

// ---- the run ---------------------------------------------------------------------------------

static bool runIsOver() {
    return gRun.ending || gRun.windowGone || runSignalled() || sceneQuitRequested();
}

static void handlePendingEvents() {
    while (!runIsOver() && XPending(gRun.display) > 0) {
        XEvent event;
        XNextEvent(gRun.display, &event);
        dispatchEvent(event);
    }
}

// Sleeps until the X connection has something to read, a signal comes or the time is up; the
// signals are blocked everywhere else, so one that came meanwhile arrives here at once. XPending
// has flushed our requests and read what had arrived, so nothing waits unseen in Xlib's buffer.
static void waitForEvents(double seconds) {
    const double whole = std::floor(seconds);
    const timespec limit = {static_cast<time_t>(whole),
                            static_cast<long>((seconds - whole) * kNanosecondsPerSecond)};
    pollfd connection = {ConnectionNumber(gRun.display), POLLIN, 0};
    ppoll(&connection, 1, &limit, &gRun.waitMask);
}

// Events are handled between frames; between one frame and the time the next is due the loop
// sleeps on the X connection, so input ends a run as promptly as it would during frames. A frame
// drawn at once is followed by a wait of no time, which lets a signal in.
static void runLoop() {
    while (!runIsOver()) {
        handlePendingEvents();
        if (runIsOver()) break;
        const double wait = sceneSecondsUntilNextFrame();
        if (wait <= 0.0) drawSceneFrame();
        waitForEvents(wait > 0.0 ? wait : 0.0);
    }
}

// A full-screen run shows a sky on each monitor and follows the screen's changes: RandR's screen
// changes, and the root window's configures.
static void followMonitors() {
    showViewPerMonitor();
    const Window root = DefaultRootWindow(gRun.display);
    XSelectInput(gRun.display, root, StructureNotifyMask);
    int eventBase = 0, errorBase = 0;
    if (XRRQueryExtension(gRun.display, &eventBase, &errorBase)) {
        XRRSelectInput(gRun.display, root, RRScreenChangeNotifyMask);
        gRun.screenChangeEvent = eventBase + RRScreenChangeNotify;
    }
}

static void releaseWindow() {
    Display* display = gRun.display;
    if (gRun.ownsWindow && !gRun.windowGone) XDestroyWindow(display, gRun.window);
    if (gRun.blankCursor != None) XFreeCursor(display, gRun.blankCursor);
    if (gRun.colormap != None) XFreeColormap(display, gRun.colormap);
    XCloseDisplay(display);
}

int runX11Saver(const ProgramOptions& options) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        reportNoDisplay();
        return kSurfaceFailedExitCode;
    }
    gRun.display = display;
    XSetErrorHandler(onXError);
    installRunSignals();
    blockRunSignals(&gRun.waitMask);
    if (!setUpWindow(options)) {
        XCloseDisplay(display);
        return kSurfaceFailedExitCode;
    }
    settleRunIsPreview(windowWidth());
    gRun.mouseReference = pointerPosition();
    if (!createScene(display, gRun.window, sceneFrameOptions(options))) {
        return kSurfaceFailedExitCode;
    }
    if (options.target == DrawTarget::FullScreen) followMonitors();
    runLoop();
    destroyScene();
    releaseWindow();
    return 0;
}
