// The idle watcher's rules, whatever the desktop: the range of --timeout and --lock-after, which
// idle source a session's offers pick, the book of "don't start now" requests (cookies, the
// callers that hold them, and their bounds), who keeps those requests on a desktop, what the
// watcher does at each turn of events, and the autostart entry that starts it at login.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/program_options.h"  // LockRule

const int32_t kFewestIdleSeconds = 1;
const int32_t kMostIdleSeconds = 86400;  // a day; also the longest --lock-after
const int32_t kDefaultIdleSeconds = 300;
const int32_t kNeverLock = -1;           // a lock delay that never comes
const int32_t kLockWaitMilliseconds = 2000;  // a locker's time to confirm, then the saver goes

// Reads --timeout's value: decimal seconds, kFewestIdleSeconds to kMostIdleSeconds.
bool parseIdleSeconds(const char* text, int32_t* seconds);

// Reads --lock-after's value: decimal seconds, 0 to kMostIdleSeconds.
bool parseLockSeconds(const char* text, int32_t* seconds);

enum class IdleSource {
    None,
    ExtIdleNotify,      // ext-idle-notify-v1 (KWin, sway 1.8+, Hyprland, river, niri, ...)
    KdeIdle,            // org_kde_kwin_idle (older wlroots compositors, Debian 12's sway)
    X11SyncIdleTime,    // the X server's SYNC IDLETIME counter, with alarms
    X11ScreenSaver,     // the X server's MIT-SCREEN-SAVER extension, asked now and then
    MutterIdleMonitor   // GNOME on Wayland: org.gnome.Mutter.IdleMonitor on the session bus
};

struct IdleOffers {
    bool extIdleNotify, kdeIdle;  // globals of the Wayland compositor (a Wayland session only)
    bool x11SyncIdleTime;         // the X server's extensions (an X11 session only)
    bool x11ScreenSaver;
    bool mutterIdleMonitor;       // the name is owned on the session bus
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

const size_t kMostInhibitsPerCaller = 64;
const size_t kMostInhibits = 1024;

// A new request's cookie: never 0 and never one still held. 0 when the caller already holds
// kMostInhibitsPerCaller, or the book kMostInhibits: the request is refused.
uint32_t addInhibit(InhibitBook* book, const char* caller);

// Ends the caller's request with that cookie; false when the caller holds none such.
bool removeInhibit(InhibitBook* book, uint32_t cookie, const char* caller);

// Ends every request of a caller that left the bus; returns how many.
size_t dropCaller(InhibitBook* book, const char* caller);

// True while the caller still holds a request.
bool callerHolds(const InhibitBook& book, const char* caller);

// Who is on the session bus, for the choice between serving org.freedesktop.ScreenSaver and
// following the desktop that keeps the requests.
struct SessionBusNames {
    bool screenSaverElsewhere;  // org.freedesktop.ScreenSaver, owned by another program
    bool gnomeShell;            // org.gnome.Shell, whose settings daemon's proxy takes the name
    bool sessionManager;        // org.gnome.SessionManager: GNOME's, MATE's or Cinnamon's
    bool plasmaAgent;           // org.kde.Solid.PowerManagement.PolicyAgent: KDE Plasma's
    bool powerManager;          // org.freedesktop.PowerManagement: Xfce's
    bool kwin;                  // org.kde.KWin, whose desktop's power manager is on its way
};
struct HoldKeeping {
    bool serve;       // the watcher serves org.freedesktop.ScreenSaver itself
    bool unreadable;  // another program keeps it, and no desktop tells its holds
};

// The watcher serves the name only where nobody keeps it and no desktop whose own keeper takes
// it (GNOME's proxy waits in line rather than taking it over) runs. Every keeper present is
// followed, whatever is chosen here.
HoldKeeping chooseHoldKeeping(const SessionBusNames& names);

// What holds the saver back: each source reports whether it holds.
enum InhibitHolder : uint32_t {
    kServedInhibits = 1u << 0,        // the requests the watcher serves
    kSessionManagerInhibits = 1u << 1,  // GNOME's, MATE's or Cinnamon's session manager
    kPlasmaInhibits = 1u << 2,        // KDE Plasma's power manager
    kPowerManagerInhibits = 1u << 3,  // Xfce's power manager
    kLogindInhibits = 1u << 4         // logind's idle inhibitors
};

// What says the session is locked or its screen blanked: the saver yields to any of them.
enum LockSign : uint32_t {
    kGnomeLockActive = 1u << 0,    // org.gnome.ScreenSaver's ActiveChanged or GetActive
    kDesktopLockActive = 1u << 1,  // the desktop's org.freedesktop.ScreenSaver's
    kLogindLocked = 1u << 2,       // logind's LockedHint on this session
    kX11Blanked = 1u << 3          // the X server's screen saver or DPMS is on
};

enum class SaverPhase {
    None,
    Showing,
    AwaitingLock,  // input came and a lock was asked: the saver stays until it is there
    Ending         // asked to end
};

// Where the watcher stands.
struct IdleWatchState {
    bool settled;        // every hold and lock sign has been read once since the start
    bool idle;           // the source said idle, and no input came since
    uint32_t holders;    // InhibitHolder bits of the sources holding it back
    uint32_t lockSigns;  // LockSign bits: locked or blanked while any is set
    SaverPhase saver;
    bool timerArmed;     // the timeout runs again from the end of the last hold or lock
    bool lockAsked;      // a lock was asked, and neither came nor timed out yet
    uint32_t lockAnswers;  // the LockSign bits that answer the lock asked: its locker's own
    bool idleAgain;      // a new idle period began while the saver was leaving
    bool countAgain;     // the last hold or lock ended while the saver was leaving
};

enum class IdleStep {
    None,
    StartSaver,
    ArmTimer,     // start the timeout afresh: when it passes, idleTimerPassed
    DisarmTimer,
    EndSaver,
    LockSession   // ask the session's locker; lockSignChanged or lockWaitPassed follows
};

// The first reading of every hold and lock sign is in: an idle state already there counts now.
IdleStep holdsRead(IdleWatchState* state);
IdleStep idleBegan(IdleWatchState* state);
IdleStep idleEnded(IdleWatchState* state);
IdleStep inhibitsChanged(IdleWatchState* state, InhibitHolder holder, bool holds);
IdleStep lockSignChanged(IdleWatchState* state, LockSign sign, bool on);
IdleStep idleTimerPassed(IdleWatchState* state);
// The saver told input after showing that long; lockAfterSeconds is kNeverLock when the watcher
// does not lock.
IdleStep saverInput(IdleWatchState* state, int64_t shownMilliseconds, int32_t lockAfterSeconds);
// The lock is asked of the locker whose sign this is: only that sign lets a waiting saver go.
void lockAskedOf(IdleWatchState* state, LockSign answer);
// kLockWaitMilliseconds passed since LockSession without its answer.
IdleStep lockWaitPassed(IdleWatchState* state);
// The machine is about to sleep; locking says whether the watcher locks at all.
IdleStep sleepComing(IdleWatchState* state, bool locking);
// The saver ended: a new idle period that began while it was leaving brings the next one, and the
// timeout counts again if the last hold or lock ended meanwhile.
IdleStep saverEnded(IdleWatchState* state);

// Whether the watcher locks, and from how long a saver has shown: --lock-after or --no-lock, else
// the desktop's own settings where they can be read (GNOME's and KDE Plasma's), else never.
enum class LockDesktop { Other, Gnome, Plasma };

// The desktop that $XDG_CURRENT_DESKTOP (a colon-separated list, or null) names first of the two.
LockDesktop lockDesktopOf(const char* currentDesktop);

struct DesktopLockSettings {
    bool read;             // false where the desktop's settings could not be read
    bool enabled;          // GNOME's lock-enabled, KDE's Autolock
    int32_t delaySeconds;  // GNOME's lock-delay, KDE's LockGrace
};

// KDE's kscreenlockerrc: [Daemon] Autolock and LockGrace, each at KDE's default (true, 5 s) when
// the text leaves it out.
DesktopLockSettings readKdeLockSettings(const std::string& text);

struct LockPlan {
    int32_t afterSeconds;  // kNeverLock, or how long a saver shows before a return locks
    std::string why;       // what chose it, for the watcher's line
};

// optionSeconds is --lock-after's value, read with LockRule::After only.
LockPlan planLocking(LockRule rule, int32_t optionSeconds, LockDesktop desktop,
                     const DesktopLockSettings& settings);

// The watcher's line on its locking, without "skyfold: " and the newline.
std::string describeLocking(const LockPlan& plan);

// The XDG autostart entry that runs program with the arguments at login, words quoted as the
// Desktop Entry rules ask.
std::string autostartEntry(const std::string& program, const std::vector<std::string>& arguments);
