// The idle watcher's loop: GLib's main loop over the idle source's connection, the session bus
// (requests not to start, the desktop's lock), the system bus (logind), the signals that end it
// and the saver child. It owns the watcher's lock, starts the saver, hears the input that the
// saver hands it, locks before the saver leaves where it is told to, and turns the sources'
// reports into the steps of host/idle_rules.
#include "host/unix/idle_watch.h"

#include <errno.h>
#include <fcntl.h>
#include <glib-unix.h>
#include <gio/gio.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/idle_sources.h"
#include "host/unix/hold_keeping.h"
#include "host/unix/lock_settings.h"
#include "host/unix/logind.h"
#include "host/unix/mutter_idle.h"
#include "host/unix/program_path.h"
#include "host/unix/run_control.h"
#include "host/unix/session_lock.h"
#include "host/wayland/idle_display.h"
#include "host/x11/screen_saver_idle.h"

static struct {
    GMainLoop* loop;
    int exitCode;
    IdleWatchState state;
    std::vector<std::string> saverCommand;  // this program's own path, then the saver's words
    int32_t idleSeconds;
    int32_t lockAfterSeconds;  // kNeverLock when the watcher does not lock
    GPid saver;                // 0 while none runs
    gint64 saverShownSince;    // monotonic microseconds
    guint saverInput;          // the watch on the saver's standard output; 0 when none
    guint timer;               // the timeout counted again after the last hold; 0 when none
    guint lockWait;            // the locker's time to answer; 0 when none
    guint saverKill;           // the time a saver gets to end on SIGTERM; 0 when none
    bool sleepDelayed;         // the machine waits for the lock before it sleeps
    int unansweredReads;       // first readings still out, and the start itself
} gWatch;

static const int kSignalsExitCode = 0;
static const int kSessionGoneExitCode = 1;
static const int kSignalsEndingIt[] = {SIGTERM, SIGINT, SIGHUP};
static const mode_t kOwnerOnly = 0600;
static const int kSaverEndLooks = 100;                 // a saver gets this many looks to end
static const useconds_t kSaverEndLookMicroseconds = 20000;  // ... this far apart, then SIGKILL
static const guint kSaverEndMilliseconds = 2000;       // the same, while the watcher goes on
static const gint64 kMicrosecondsPerMillisecond = 1000;

// One watcher per user and display: an advisory lock in the user's runtime folder, named for the
// display, which the system drops however the process ends. False only when another holds it.
static bool takeWatcherLock(WindowSystem windowSystem) {
    const char* display =
        std::getenv(windowSystem == WindowSystem::Wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    std::string name = display && *display ? display : "default";
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    const std::string path = std::string(g_get_user_runtime_dir()) + "/skyfold-idle-" + name +
                             ".lock";
    const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kOwnerOnly);
    if (file >= 0 && flock(file, LOCK_EX | LOCK_NB) == 0) return true;  // held for the run
    const int error = errno;
    if (file >= 0) close(file);
    if (file >= 0 && error == EWOULDBLOCK) return false;
    std::fprintf(stderr, "skyfold: cannot take the watcher's lock %s (%s): going on without it\n",
                 path.c_str(), std::strerror(error));
    return true;
}

// ---- the saver ---------------------------------------------------------------------------------

// A saver that does not end on SIGTERM within two seconds is killed: the watcher's own end never
// hangs on it.
static void endSaverNow() {
    if (gWatch.saver == 0) return;
    kill(gWatch.saver, SIGTERM);
    bool ended = false;
    for (int look = 0; look < kSaverEndLooks && !ended; ++look) {
        ended = waitpid(gWatch.saver, nullptr, WNOHANG) != 0;
        if (!ended) usleep(kSaverEndLookMicroseconds);
    }
    if (!ended) {
        kill(gWatch.saver, SIGKILL);
        waitpid(gWatch.saver, nullptr, 0);
    }
    g_spawn_close_pid(gWatch.saver);
    gWatch.saver = 0;
}

static void removeSource(guint* source) {
    if (*source != 0) g_source_remove(*source);
    *source = 0;
}

static gboolean onSaverKill(gpointer) {
    gWatch.saverKill = 0;
    if (gWatch.saver != 0) kill(gWatch.saver, SIGKILL);
    return G_SOURCE_REMOVE;
}

static void askSaverToEnd() {
    if (gWatch.saver == 0 || gWatch.saverKill != 0) return;
    kill(gWatch.saver, SIGTERM);
    gWatch.saverKill = g_timeout_add(kSaverEndMilliseconds, onSaverKill, nullptr);
}

static void takeStep(IdleStep step);

static void onSaverEnded(GPid pid, gint, gpointer) {
    g_spawn_close_pid(pid);
    if (pid != gWatch.saver) return;
    gWatch.saver = 0;
    removeSource(&gWatch.saverKill);
    removeSource(&gWatch.saverInput);
    takeStep(saverEnded(&gWatch.state));
}

static void closeOutput(gpointer output) {
    close(GPOINTER_TO_INT(output));
}

// The saver writes a line when input would have ended it; anything it writes counts.
static gboolean onSaverOutput(gint output, GIOCondition, gpointer) {
    char text[64];
    const ssize_t length = read(output, text, sizeof text);
    if (length < 0 && errno == EAGAIN) return G_SOURCE_CONTINUE;
    if (length <= 0) {
        gWatch.saverInput = 0;
        return G_SOURCE_REMOVE;  // closeOutput closes the pipe
    }
    const gint64 shown = (g_get_monotonic_time() - gWatch.saverShownSince) /
                         kMicrosecondsPerMillisecond;
    takeStep(saverInput(&gWatch.state, shown, gWatch.lockAfterSeconds));
    return G_SOURCE_CONTINUE;
}

// Runs in the saver between fork and exec, so only calls that are safe there.
// NOTE: a watcher that died before the prctl sends nothing; the saver then has another parent.
static void dieWithWatcher(gpointer watcher) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != static_cast<pid_t>(GPOINTER_TO_INT(watcher))) _exit(1);
}

static void startSaver() {
    std::vector<char*> argv;
    for (std::string& word : gWatch.saverCommand) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    GError* error = nullptr;
    int output = -1;
    if (!g_spawn_async_with_pipes(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD,
                                  dieWithWatcher, GINT_TO_POINTER(getpid()), &gWatch.saver,
                                  nullptr, &output, nullptr, &error)) {
        std::fprintf(stderr, "skyfold: cannot start the saver: %s\n", error->message);
        g_error_free(error);
        gWatch.saver = 0;
        takeStep(saverEnded(&gWatch.state));  // the next idle period tries again
        return;
    }
    gWatch.saverShownSince = g_get_monotonic_time();
    g_unix_set_fd_nonblocking(output, TRUE, nullptr);
    gWatch.saverInput = g_unix_fd_add_full(G_PRIORITY_DEFAULT, output,
                                           static_cast<GIOCondition>(G_IO_IN | G_IO_HUP),
                                           onSaverOutput, GINT_TO_POINTER(output), closeOutput);
    g_child_watch_add(gWatch.saver, onSaverEnded, nullptr);
}

// ---- the steps ---------------------------------------------------------------------------------

static gboolean onTimer(gpointer) {
    gWatch.timer = 0;
    takeStep(idleTimerPassed(&gWatch.state));
    return G_SOURCE_REMOVE;
}

static gboolean onLockWait(gpointer) {
    gWatch.lockWait = 0;
    if (gWatch.state.lockAsked) {
        std::fprintf(stderr, "skyfold: no locker answered within %d s: the session may not be "
                             "locked\n", kLockWaitMilliseconds / 1000);
    }
    takeStep(lockWaitPassed(&gWatch.state));
    return G_SOURCE_REMOVE;
}

static void takeStep(IdleStep step) {
    switch (step) {
    case IdleStep::StartSaver: startSaver(); break;
    case IdleStep::ArmTimer:
        gWatch.timer = g_timeout_add_seconds(static_cast<guint>(gWatch.idleSeconds), onTimer,
                                             nullptr);
        break;
    case IdleStep::DisarmTimer: removeSource(&gWatch.timer); break;
    case IdleStep::EndSaver: askSaverToEnd(); break;
    case IdleStep::LockSession:
        lockAskedOf(&gWatch.state, lockSession());
        gWatch.lockWait = g_timeout_add(kLockWaitMilliseconds, onLockWait, nullptr);
        break;
    case IdleStep::None: break;
    }
    // The lock came, or the wait for it passed: the machine may sleep.
    if (gWatch.state.lockAsked) return;
    removeSource(&gWatch.lockWait);
    if (gWatch.sleepDelayed) releaseSleepDelay();
    gWatch.sleepDelayed = false;
}

// ---- the reports -------------------------------------------------------------------------------

static void quit(int exitCode) {
    gWatch.exitCode = exitCode;
    g_main_loop_quit(gWatch.loop);
}

static void onIdled() {
    takeStep(idleBegan(&gWatch.state));
}

static void onResumed() {
    takeStep(idleEnded(&gWatch.state));
}

// The session's connections often go together (the compositor and its bus): one line for all.
static void onGone(const char* what) {
    if (gWatch.exitCode == kSessionGoneExitCode) return;
    std::fprintf(stderr, "skyfold: %s\n", what);
    quit(kSessionGoneExitCode);
}

static void onInhibits(InhibitHolder holder, bool holds) {
    takeStep(inhibitsChanged(&gWatch.state, holder, holds));
}

static void onLockSign(LockSign sign, bool on) {
    takeStep(lockSignChanged(&gWatch.state, sign, on));
}

static void onSleepComing() {
    gWatch.sleepDelayed = true;
    takeStep(sleepComing(&gWatch.state, gWatch.lockAfterSeconds != kNeverLock));
}

static void onServiceMoved(const char* what, bool back) {
    if (back) std::fprintf(stderr, "skyfold: %s is back\n", what);
    if (!back) std::fprintf(stderr, "skyfold: %s went away: waiting for it\n", what);
}

static void onReadAsked() {
    ++gWatch.unansweredReads;
}

static void onReadDone() {
    if (--gWatch.unansweredReads == 0 && !gWatch.state.settled) {
        takeStep(holdsRead(&gWatch.state));
    }
}

static gboolean onSignal(gpointer) {
    quit(kSignalsExitCode);
    return G_SOURCE_CONTINUE;
}

static void onSessionBusClosed(GDBusConnection*, gboolean, GError*, gpointer) {
    onGone("the session bus went away");
}

static const IdleReports kReports = {onIdled,        onResumed,     onGone,
                                     onInhibits,     onLockSign,    onSleepComing,
                                     onServiceMoved, onReadAsked,   onReadDone};

// ---- the start ---------------------------------------------------------------------------------

// The source the window system offers first; the session bus may be null.
static IdleSource openIdleSource(WindowSystem windowSystem, GDBusConnection* sessionBus) {
    IdleOffers offers = {false, false, false, false, false};
    if (windowSystem == WindowSystem::Wayland) {
        openIdleDisplay(&offers.extIdleNotify, &offers.kdeIdle);
    } else {
        openX11Idle(&offers.x11SyncIdleTime, &offers.x11ScreenSaver);
    }
    offers.mutterIdleMonitor = sessionBus && mutterIdleOffered(sessionBus);
    return chooseIdleSource(offers);
}

static void watchIdle(IdleSource source, GDBusConnection* sessionBus) {
    const uint32_t milliseconds = static_cast<uint32_t>(gWatch.idleSeconds) *
                                  kMillisecondsPerSecond;
    switch (source) {
    case IdleSource::ExtIdleNotify:
    case IdleSource::KdeIdle: watchWaylandIdle(source, milliseconds, &kReports); break;
    case IdleSource::X11SyncIdleTime:
    case IdleSource::X11ScreenSaver: watchX11Idle(source, milliseconds, &kReports); break;
    case IdleSource::MutterIdleMonitor: watchMutterIdle(sessionBus, milliseconds, &kReports); break;
    case IdleSource::None: break;
    }
}

// NOTE: a SIGHUP that is ignored (nohup) stays ignored, here and in the saver, which inherits it.
static void watchSignals() {
    for (int signalNumber : kSignalsEndingIt) {
        if (signalNumber == SIGHUP && hangUpIgnored()) continue;
        g_unix_signal_add(signalNumber, onSignal, nullptr);
    }
}

static void watchSession(GDBusConnection* sessionBus) {
    if (sessionBus) {
        g_dbus_connection_set_exit_on_close(sessionBus, FALSE);
        g_signal_connect(sessionBus, "closed", G_CALLBACK(onSessionBusClosed), nullptr);
        watchHoldKeepers(sessionBus, &kReports);
        watchSessionLock(sessionBus, &kReports);
    }
    watchLogind(&kReports, gWatch.lockAfterSeconds != kNeverLock);
}

int runIdleWatch(const ProgramOptions& options, WindowSystem windowSystem, const char* argv0) {
    if (!takeWatcherLock(windowSystem)) {
        std::fprintf(stderr, "skyfold: an idle watcher already runs on this display\n");
        return 0;
    }
    const LockPlan locking = planWatcherLocking(options);
    gWatch.idleSeconds = options.idleSeconds;
    gWatch.lockAfterSeconds = locking.afterSeconds;
    gWatch.saverCommand = saverWords(options, windowSystem);
    gWatch.saverCommand.insert(gWatch.saverCommand.begin(), ownProgramPath(argv0));
    GDBusConnection* sessionBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    const IdleSource source = openIdleSource(windowSystem, sessionBus);
    if (source == IdleSource::None) {
        std::fprintf(stderr, "skyfold: the session tells no idle time (no ext-idle-notify-v1, "
                             "org_kde_kwin_idle, X11 SYNC IDLETIME or MIT-SCREEN-SAVER, or "
                             "org.gnome.Mutter.IdleMonitor)\n");
        return kSessionGoneExitCode;
    }
    gWatch.loop = g_main_loop_new(nullptr, FALSE);
    watchSignals();
    gWatch.unansweredReads = 1;  // the start itself, done below
    watchSession(sessionBus);
    watchIdle(source, sessionBus);
    std::fprintf(stderr, "skyfold: the saver comes after %d s without input (idle time from %s)\n",
                 gWatch.idleSeconds, idleSourceName(source));
    std::fprintf(stderr, "skyfold: %s\n", describeLocking(locking).c_str());
    onReadDone();
    g_main_loop_run(gWatch.loop);
    endSaverNow();
    return gWatch.exitCode;
}
