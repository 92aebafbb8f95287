// The idle watcher's loop: GLib's main loop over the idle source's connection, the session bus
// (the requests not to start), the system bus (logind), the signals that end it and the saver
// child. It owns the watcher's lock, starts and ends the saver, and turns the sources' reports
// into the steps of host/idle_rules.
#include "host/unix/idle_watch.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <gio/gio.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/idle_rules.h"
#include "host/unix/idle_sources.h"
#include "host/unix/inhibit_watches.h"
#include "host/unix/mutter_idle.h"
#include "host/wayland/idle_display.h"
#include "host/x11/screen_saver_idle.h"

static struct {
    GMainLoop* loop;
    int exitCode;
    IdleWatchState state;
    std::vector<std::string> saverArguments;
    std::string program;     // this program's own path, which the saver runs from
    GPid saver;              // 0 while none runs
    guint timer;             // the timeout counted again after the last inhibit; 0 when none
    int32_t idleSeconds;
} gWatch;

static const int kSignalsExitCode = 0;
static const int kSessionGoneExitCode = 1;
static const int kSignalsEndingIt[] = {SIGTERM, SIGINT, SIGHUP};
static const mode_t kOwnerOnly = 0600;
static const int kSaverEndLooks = 100;                 // a saver gets this many looks to end
static const useconds_t kSaverEndLookMicroseconds = 20000;  // ... this far apart, then SIGKILL

// One watcher per user and display: an advisory lock in the user's runtime folder, named for the
// display, which the system drops however the process ends.
static bool takeWatcherLock() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    std::string display = wayland && *wayland ? wayland : x11 && *x11 ? x11 : "default";
    for (char& c : display) {
        if (c == '/') c = '_';
    }
    const std::string path = std::string(g_get_user_runtime_dir()) + "/skyfold-idle-" + display +
                             ".lock";
    const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kOwnerOnly);
    if (file < 0) return true;  // nothing then tells of another watcher
    if (flock(file, LOCK_EX | LOCK_NB) == 0) return true;  // held open for the process's life
    close(file);
    return false;
}

// A saver that does not end on SIGTERM within two seconds is killed: the watcher's own end never
// hangs on it.
static void endSaver() {
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

static void quit(int exitCode) {
    gWatch.exitCode = exitCode;
    g_main_loop_quit(gWatch.loop);
}

static void onSaverEnded(GPid pid, gint, gpointer) {
    g_spawn_close_pid(pid);
    if (pid != gWatch.saver) return;
    gWatch.saver = 0;
    saverEnded(&gWatch.state);
}

static void startSaver() {
    std::vector<char*> argv = {const_cast<char*>(gWatch.program.c_str())};
    for (std::string& word : gWatch.saverArguments) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                       nullptr, &gWatch.saver, &error)) {
        std::fprintf(stderr, "skyfold: cannot start the saver: %s\n", error->message);
        g_error_free(error);
        gWatch.saver = 0;
        saverEnded(&gWatch.state);  // the next idle period tries again
        return;
    }
    g_child_watch_add(gWatch.saver, onSaverEnded, nullptr);
}

static gboolean onTimer(gpointer) {
    gWatch.timer = 0;
    if (idleTimerPassed(&gWatch.state) == IdleStep::StartSaver) startSaver();
    return G_SOURCE_REMOVE;
}

static void takeStep(IdleStep step) {
    switch (step) {
    case IdleStep::StartSaver: startSaver(); break;
    case IdleStep::ArmTimer:
        gWatch.timer = g_timeout_add_seconds(static_cast<guint>(gWatch.idleSeconds), onTimer,
                                             nullptr);
        break;
    case IdleStep::DisarmTimer:
        if (gWatch.timer != 0) g_source_remove(gWatch.timer);
        gWatch.timer = 0;
        break;
    case IdleStep::None: break;
    }
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

static gboolean onSignal(gpointer) {
    quit(kSignalsExitCode);
    return G_SOURCE_CONTINUE;
}

static const IdleReports kReports = {onIdled, onResumed, onGone, onInhibits};

// The source the session offers first; the session bus may be null.
static IdleSource openIdleSource(const ProgramOptions& options, GDBusConnection* sessionBus) {
    IdleOffers offers = {false, false, false, false};
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool waylandSession = options.platform == WindowSystem::Wayland ||
                                (options.platform == WindowSystem::Automatic && wayland &&
                                 *wayland);
    if (waylandSession) openIdleDisplay(&offers.extIdleNotify, &offers.kdeIdle);
    offers.mutterIdleMonitor = sessionBus && mutterIdleOffered(sessionBus);
    offers.x11ScreenSaver = !waylandSession && !offers.mutterIdleMonitor && openX11Idle();
    return chooseIdleSource(offers);
}

static void watchIdle(IdleSource source, GDBusConnection* sessionBus) {
    const uint32_t milliseconds = static_cast<uint32_t>(gWatch.idleSeconds) *
                                  kMillisecondsPerSecond;
    switch (source) {
    case IdleSource::ExtIdleNotify:
    case IdleSource::KdeIdle: watchWaylandIdle(source, milliseconds, &kReports); break;
    case IdleSource::MutterIdleMonitor: watchMutterIdle(sessionBus, milliseconds, &kReports); break;
    case IdleSource::X11ScreenSaver: watchX11Idle(milliseconds, &kReports); break;
    case IdleSource::None: break;
    }
}

static std::string ownPath(const char* argv0) {
    gchar* self = g_file_read_link("/proc/self/exe", nullptr);
    std::string path = self ? self : argv0;
    g_free(self);
    return path;
}

int runIdleWatch(int argc, const char* const* argv, const ProgramOptions& options) {
    if (!takeWatcherLock()) {
        std::fprintf(stderr, "skyfold: an idle watcher already runs on this display\n");
        return 0;
    }
    gWatch.idleSeconds = options.idleSeconds;
    gWatch.program = ownPath(argv[0]);
    gWatch.saverArguments = saverArguments(argc, argv);
    GDBusConnection* sessionBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    const IdleSource source = openIdleSource(options, sessionBus);
    if (source == IdleSource::None) {
        std::fprintf(stderr, "skyfold: the session tells no idle time (no ext-idle-notify-v1, "
                             "org_kde_kwin_idle, org.gnome.Mutter.IdleMonitor or X11 "
                             "MIT-SCREEN-SAVER)\n");
        return kSessionGoneExitCode;
    }
    gWatch.loop = g_main_loop_new(nullptr, FALSE);
    for (int signalNumber : kSignalsEndingIt) g_unix_signal_add(signalNumber, onSignal, nullptr);
    watchIdle(source, sessionBus);
    if (sessionBus) watchSessionInhibits(sessionBus, &kReports);
    watchLogindInhibits(&kReports);
    std::fprintf(stderr, "skyfold: the saver comes after %d s without input (idle time from %s)\n",
                 gWatch.idleSeconds, idleSourceName(source));
    g_main_loop_run(gWatch.loop);
    endSaver();
    return gWatch.exitCode;
}
