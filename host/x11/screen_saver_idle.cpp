// The X11 idle source. With SYNC's IDLETIME counter it sets alarms and sleeps on the connection:
// one when the idle time reaches the timeout, one when input resets it, and one when DPMS would
// turn the screen off. Where SYNC lacks the counter, MIT-SCREEN-SAVER tells the idle time only
// when asked: then the watcher asks once when the timeout could next have passed and, while the
// session is idle, once a second. While the session is idle the server's screen saver tells when
// it turns on and off; before, a player's XResetScreenSaver would wake the watcher each time.
#include "host/x11/screen_saver_idle.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/extensions/sync.h>
#include <glib-unix.h>

#include <cstring>

static struct {
    Display* display;
    const IdleReports* reports;
    uint32_t timeoutMilliseconds;
    int syncEventBase, saverEventBase;
    XSyncCounter idleTime;            // None where SYNC lacks IDLETIME
    XSyncAlarm idleAlarm, resetAlarm, dpmsAlarm;
    bool screenSaverExtension;        // MIT-SCREEN-SAVER
    XScreenSaverInfo* info;           // its answer
    unsigned long lookedIdleMilliseconds;
    bool idle;
    bool saverOn, dpmsOff;            // the server's own blanking
    bool lost;                        // the connection is gone: Xlib must not be called again
} gX11;

static const guint kIdleLookMilliseconds = 1000;  // without SYNC, how soon input is seen
// NOTE: DPMS switches the screen at the same idle time as the alarm would fire; a second later it
// has surely done so.
static const int64_t kDpmsLookDelayMilliseconds = 1000;

static void reportBlank() {
    gX11.reports->lockSign(kX11Blanked, gX11.saverOn || gX11.dpmsOff);
}

// The server's screen saver, heard from while the session is idle: its state now, then its news.
static void hearServerSaver(bool hear) {
    if (!gX11.screenSaverExtension) return;
    const Window root = DefaultRootWindow(gX11.display);
    XScreenSaverSelectInput(gX11.display, root, hear ? ScreenSaverNotifyMask : 0);
    if (hear) XScreenSaverQueryInfo(gX11.display, root, gX11.info);
    const bool on = hear && gX11.info->state == ScreenSaverOn;
    if (on == gX11.saverOn) return;
    gX11.saverOn = on;
    reportBlank();
}

static void becameIdle() {
    if (gX11.idle) return;
    gX11.idle = true;
    hearServerSaver(true);
    gX11.reports->idled();
}

static void inputCame() {
    if (gX11.dpmsOff) {
        gX11.dpmsOff = false;
        reportBlank();
    }
    if (!gX11.idle) return;
    gX11.idle = false;
    hearServerSaver(false);
    gX11.reports->resumed();
}

// ---- SYNC ------------------------------------------------------------------------------------

static XSyncAlarm makeAlarm(XSyncTestType test, int64_t milliseconds) {
    XSyncAlarmAttributes attributes = {};
    attributes.trigger.counter = gX11.idleTime;
    attributes.trigger.value_type = XSyncAbsolute;
    attributes.trigger.test_type = test;
    XSyncIntsToValue(&attributes.trigger.wait_value, static_cast<unsigned>(milliseconds),
                     static_cast<int>(milliseconds >> 32));
    XSyncIntToValue(&attributes.delta, 0);  // a transition's alarm stays armed after it fires
    attributes.events = True;
    return XSyncCreateAlarm(gX11.display,
                            XSyncCACounter | XSyncCAValueType | XSyncCAValue | XSyncCATestType |
                                XSyncCADelta | XSyncCAEvents,
                            &attributes);
}

// The idle time at which DPMS turns the screen off first, or 0 where it never does.
static int64_t dpmsMilliseconds() {
    int eventBase = 0, errorBase = 0;
    CARD16 level = 0;
    BOOL enabled = False;
    if (!DPMSQueryExtension(gX11.display, &eventBase, &errorBase) || !DPMSCapable(gX11.display) ||
        !DPMSInfo(gX11.display, &level, &enabled) || !enabled) {
        return 0;
    }
    CARD16 timeouts[3] = {0, 0, 0};  // standby, suspend, off, in seconds
    DPMSGetTimeouts(gX11.display, &timeouts[0], &timeouts[1], &timeouts[2]);
    int64_t first = 0;
    for (CARD16 seconds : timeouts) {
        if (seconds != 0 && (first == 0 || seconds < first)) first = seconds;
    }
    return first * kMillisecondsPerSecond;
}

static void lookAtDpms() {
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    DPMSInfo(gX11.display, &level, &enabled);
    if (!enabled || level == DPMSModeOn || gX11.dpmsOff) return;
    gX11.dpmsOff = true;
    reportBlank();
}

// The reset alarm fires at input once the idle time has passed the earlier of the two others.
static void setAlarms() {
    const int64_t timeout = gX11.timeoutMilliseconds;
    const int64_t dpms = dpmsMilliseconds();
    gX11.idleAlarm = makeAlarm(XSyncPositiveTransition, timeout);
    int64_t earliest = timeout;
    if (dpms != 0) {
        gX11.dpmsAlarm = makeAlarm(XSyncPositiveTransition, dpms + kDpmsLookDelayMilliseconds);
        if (dpms < earliest) earliest = dpms;
    }
    gX11.resetAlarm = makeAlarm(XSyncNegativeTransition, earliest - 1);
    // NOTE: a transition's alarm does not fire for a value that is passed already.
    XSyncValue now;
    XSyncQueryCounter(gX11.display, gX11.idleTime, &now);
    const int64_t idle = (static_cast<int64_t>(XSyncValueHigh32(now)) << 32) |
                         XSyncValueLow32(now);
    if (idle >= timeout) becameIdle();
}

static void onAlarm(const XEvent& event) {
    const XSyncAlarm alarm = reinterpret_cast<const XSyncAlarmNotifyEvent&>(event).alarm;
    if (alarm == gX11.idleAlarm) becameIdle();
    if (alarm == gX11.resetAlarm) inputCame();
    if (alarm == gX11.dpmsAlarm) lookAtDpms();
}

// ---- MIT-SCREEN-SAVER without SYNC -------------------------------------------------------------

static gboolean look(gpointer);

static gboolean look(gpointer) {
    XScreenSaverQueryInfo(gX11.display, DefaultRootWindow(gX11.display), gX11.info);
    const unsigned long idle = gX11.info->idle;
    const unsigned long timeout = gX11.timeoutMilliseconds;
    if (idle < gX11.lookedIdleMilliseconds) inputCame();
    if (idle >= timeout) becameIdle();
    gX11.lookedIdleMilliseconds = idle;
    // NOTE: a late look finds the idle time past the timeout: the next look is then a short one.
    const unsigned long wait =
        gX11.idle || idle >= timeout ? kIdleLookMilliseconds : timeout - idle;
    g_timeout_add(static_cast<guint>(wait), look, nullptr);
    return G_SOURCE_REMOVE;
}

// ---- the connection ----------------------------------------------------------------------------

static void onSaverNotify(const XEvent& event) {
    const int state = reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state;
    const bool on = state != ScreenSaverOff;
    if (on == gX11.saverOn) return;
    gX11.saverOn = on;
    reportBlank();
}

static int onConnectionLost(Display*) {
    gX11.lost = true;
    gX11.reports->gone("the X server went away");
    return 0;
}

// Instead of Xlib's, which ends the process: the watcher ends its saver first, and ends itself.
static void keepRunning(Display*, void*) {}

// NOTE: an alarm or a query that the server refuses leaves the source as it was; Xlib's default
// would end the process.
static int onXError(Display*, XErrorEvent*) {
    return 0;
}

static gboolean onConnection(gint, GIOCondition, gpointer) {
    while (!gX11.lost && XPending(gX11.display) > 0) {
        XEvent event;
        XNextEvent(gX11.display, &event);
        if (event.type == gX11.syncEventBase + XSyncAlarmNotify) onAlarm(event);
        if (event.type == gX11.saverEventBase + ScreenSaverNotify) onSaverNotify(event);
    }
    return gX11.lost ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

static XSyncCounter findIdleTimeCounter() {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0, count = 0;
    if (!XSyncQueryExtension(gX11.display, &eventBase, &errorBase) ||
        !XSyncInitialize(gX11.display, &major, &minor)) {
        return None;
    }
    gX11.syncEventBase = eventBase;
    XSyncSystemCounter* counters = XSyncListSystemCounters(gX11.display, &count);
    XSyncCounter found = None;
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(counters[i].name, "IDLETIME") == 0) found = counters[i].counter;
    }
    if (counters) XSyncFreeSystemCounterList(counters);
    return found;
}

bool openX11Idle(bool* syncIdleTime, bool* screenSaver) {
    gX11.display = XOpenDisplay(nullptr);
    if (!gX11.display) return false;
    int errorBase = 0;
    gX11.screenSaverExtension =
        XScreenSaverQueryExtension(gX11.display, &gX11.saverEventBase, &errorBase);
    *screenSaver = gX11.screenSaverExtension;
    gX11.idleTime = findIdleTimeCounter();
    *syncIdleTime = gX11.idleTime != None;
    return true;
}

void watchX11Idle(IdleSource source, uint32_t milliseconds, const IdleReports* reports) {
    gX11.timeoutMilliseconds = milliseconds;
    gX11.reports = reports;
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onConnectionLost);
    XSetIOErrorExitHandler(gX11.display, keepRunning, nullptr);
    gX11.info = XScreenSaverAllocInfo();
    g_unix_fd_add(ConnectionNumber(gX11.display),
                  static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), onConnection,
                  nullptr);
    if (source == IdleSource::X11SyncIdleTime) {
        setAlarms();
    } else {
        look(nullptr);
    }
    XFlush(gX11.display);
}
