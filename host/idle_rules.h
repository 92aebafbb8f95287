// The idle watcher's rules, whatever the desktop: the range of --timeout, which idle source a
// session's offers pick, the book of "don't start now" requests (cookies, and the callers that
// hold them), what the watcher does at each turn of events, the saver's command line, and the
// autostart entry that starts the watcher at login.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

const int32_t kFewestIdleSeconds = 1;
const int32_t kMostIdleSeconds = 86400;  // a day
const int32_t kDefaultIdleSeconds = 300;

// Reads --timeout's value: decimal seconds, kFewestIdleSeconds to kMostIdleSeconds.
bool parseIdleSeconds(const char* text, int32_t* seconds);

enum class IdleSource {
    None,
    ExtIdleNotify,      // ext-idle-notify-v1 (KWin, sway 1.8+, Hyprland, river, niri, ...)
    KdeIdle,            // org_kde_kwin_idle (older wlroots compositors, Debian 12's sway)
    MutterIdleMonitor,  // GNOME: org.gnome.Mutter.IdleMonitor on the session bus
    X11ScreenSaver      // the X server's MIT-SCREEN-SAVER extension, where no compositor runs
};

struct IdleOffers {
    bool extIdleNotify, kdeIdle;  // globals of the Wayland compositor
    bool mutterIdleMonitor;       // the name is owned on the session bus
    bool x11ScreenSaver;          // the X server has the extension (looked at without Wayland)
};

// The first source the session offers, in the order above; None when it offers none.
IdleSource chooseIdleSource(const IdleOffers& offers);

// The source as --help and the watcher's first line name it.
const char* idleSourceName(IdleSource source);

// The requests that hold the saver back, each with the caller (a bus name) that made it.
struct Inhibit {
    uint32_t cookie;
    std::string caller;
};
struct InhibitBook {
    std::vector<Inhibit> held;
    uint32_t lastCookie;
};

// A new request's cookie: never 0 and never one still held.
uint32_t addInhibit(InhibitBook* book, const char* caller);

// Ends the caller's request with that cookie; false when the caller holds none such.
bool removeInhibit(InhibitBook* book, uint32_t cookie, const char* caller);

// Ends every request of a caller that left the bus; returns how many.
size_t dropCaller(InhibitBook* book, const char* caller);

// True while the caller still holds a request.
bool callerHolds(const InhibitBook& book, const char* caller);

// Where the watcher stands. Inhibits come from three places (the D-Bus requests it serves, the
// desktop's own book, logind); each reports whether it holds the saver back.
enum InhibitHolder : uint32_t {
    kServedInhibits = 1u << 0,
    kDesktopInhibits = 1u << 1,
    kLogindInhibits = 1u << 2
};
struct IdleWatchState {
    bool idle;          // the source said idle, and no input came since
    uint32_t holders;   // InhibitHolder bits of the sources holding it back
    bool saverRunning;
    bool timerArmed;    // the timeout runs again from the end of the last inhibit
};

enum class IdleStep {
    None,
    StartSaver,
    ArmTimer,     // start the timeout afresh: when it passes, idleTimerPassed
    DisarmTimer
};

IdleStep idleBegan(IdleWatchState* state);
IdleStep idleEnded(IdleWatchState* state);
IdleStep inhibitsChanged(IdleWatchState* state, InhibitHolder holder, bool holds);
IdleStep idleTimerPassed(IdleWatchState* state);
void saverEnded(IdleWatchState* state);

// The saver's command line from the watcher's (argv[1] on): --fullscreen and every word but
// --idle, --install-autostart and --timeout with its value.
std::vector<std::string> saverArguments(int argc, const char* const* argv);

// The watcher's command line from --install-autostart's: --idle and every word but
// --install-autostart.
std::vector<std::string> watcherArguments(int argc, const char* const* argv);

// The XDG autostart entry that runs program with the arguments at login, words quoted as the
// Desktop Entry rules ask.
std::string autostartEntry(const std::string& program, const std::vector<std::string>& arguments);
