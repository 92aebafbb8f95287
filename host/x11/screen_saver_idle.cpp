// The X11 idle source. The extension tells the idle time when asked and sends no event at a
// time of our choosing, so the watcher asks once when the timeout could next have passed (one
// wake-up per timeout while the user works, none in between); while the session is idle it asks
// once a second, to see input come back.
#include "host/x11/screen_saver_idle.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <glib-unix.h>

static struct {
    Display* display;
    XScreenSaverInfo* info;
    uint32_t timeoutMilliseconds;
    const IdleReports* reports;
    bool idle;
    unsigned long idleMilliseconds;  // at the last look
} gX11;

static const guint kIdleLookMilliseconds = 1000;  // while idle, how soon input is seen

static unsigned long idleMilliseconds() {
    XScreenSaverQueryInfo(gX11.display, DefaultRootWindow(gX11.display), gX11.info);
    return gX11.info->idle;
}

static gboolean look(gpointer);

static void lookAgainIn(unsigned long milliseconds) {
    g_timeout_add(static_cast<guint>(milliseconds), look, nullptr);
}

static gboolean look(gpointer) {
    const unsigned long idle = idleMilliseconds();
    if (gX11.idle && idle < gX11.idleMilliseconds) {
        gX11.idle = false;
        gX11.reports->resumed();
    } else if (!gX11.idle && idle >= gX11.timeoutMilliseconds) {
        gX11.idle = true;
        gX11.reports->idled();
    }
    gX11.idleMilliseconds = idle;
    lookAgainIn(gX11.idle ? kIdleLookMilliseconds : gX11.timeoutMilliseconds - idle);
    return G_SOURCE_REMOVE;
}

// Xlib ends the process once this returns.
static int onConnectionLost(Display*) {
    gX11.reports->gone("the X server went away");
    return 0;
}

static gboolean onConnection(gint, GIOCondition, gpointer) {
    while (XPending(gX11.display) > 0) {
        XEvent event;
        XNextEvent(gX11.display, &event);
    }
    return G_SOURCE_CONTINUE;
}

bool openX11Idle() {
    gX11.display = XOpenDisplay(nullptr);
    if (!gX11.display) return false;
    int eventBase = 0, errorBase = 0;
    if (XScreenSaverQueryExtension(gX11.display, &eventBase, &errorBase)) return true;
    XCloseDisplay(gX11.display);
    gX11.display = nullptr;
    return false;
}

void watchX11Idle(uint32_t milliseconds, const IdleReports* reports) {
    gX11.timeoutMilliseconds = milliseconds;
    gX11.reports = reports;
    gX11.info = XScreenSaverAllocInfo();
    XSetIOErrorHandler(onConnectionLost);
    g_unix_fd_add(ConnectionNumber(gX11.display),
                  static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), onConnection,
                  nullptr);
    look(nullptr);
}
