// The idle watcher's platform-free rules: timeout and lock delay ranges, source order, the inhibit
// book and who keeps it, the watcher's steps, its locking plan, and the autostart entry it writes.
#include "host/idle_rules.h"

#include <algorithm>
#include <cstring>

static const int kLongestSecondsDigits = 9;  // more cannot be in range, and cannot overflow
static const int64_t kMillisecondsPerSecond = 1000;
static const int32_t kKdeDefaultLockGraceSeconds = 5;

static bool parseSeconds(const char* text, int32_t fewest, int32_t most, int32_t* seconds) {
    const size_t length = text ? std::strlen(text) : 0;
    if (length == 0 || length > kLongestSecondsDigits) return false;
    int32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (value < fewest || value > most) return false;
    *seconds = value;
    return true;
}

bool parseIdleSeconds(const char* text, int32_t* seconds) {
    return parseSeconds(text, kFewestIdleSeconds, kMostIdleSeconds, seconds);
}

bool parseLockSeconds(const char* text, int32_t* seconds) {
    return parseSeconds(text, 0, kMostIdleSeconds, seconds);
}

IdleSource chooseIdleSource(const IdleOffers& offers) {
    if (offers.extIdleNotify) return IdleSource::ExtIdleNotify;
    if (offers.kdeIdle) return IdleSource::KdeIdle;
    if (offers.x11SyncIdleTime) return IdleSource::X11SyncIdleTime;
    if (offers.x11ScreenSaver) return IdleSource::X11ScreenSaver;
    if (offers.mutterIdleMonitor) return IdleSource::MutterIdleMonitor;
    return IdleSource::None;
}

const char* idleSourceName(IdleSource source) {
    switch (source) {
    case IdleSource::ExtIdleNotify: return "ext-idle-notify-v1";
    case IdleSource::KdeIdle: return "org_kde_kwin_idle";
    case IdleSource::X11SyncIdleTime: return "SYNC IDLETIME";
    case IdleSource::X11ScreenSaver: return "MIT-SCREEN-SAVER";
    case IdleSource::MutterIdleMonitor: return "org.gnome.Mutter.IdleMonitor";
    case IdleSource::None: break;
    }
    return "none";
}

static bool cookieHeld(const InhibitBook& book, uint32_t cookie) {
    return std::any_of(book.held.begin(), book.held.end(),
                       [cookie](const Inhibit& inhibit) { return inhibit.cookie == cookie; });
}

static size_t callersInhibits(const InhibitBook& book, const char* caller) {
    return static_cast<size_t>(
        std::count_if(book.held.begin(), book.held.end(),
                      [caller](const Inhibit& inhibit) { return inhibit.caller == caller; }));
}

uint32_t addInhibit(InhibitBook* book, const char* caller) {
    if (book->held.size() >= kMostInhibits ||
        callersInhibits(*book, caller) >= kMostInhibitsPerCaller) {
        return 0;
    }
    uint32_t cookie = book->lastCookie;
    do {
        ++cookie;  // wraps after 2^32 requests; 0 stays free, as callers read it as "none"
    } while (cookie == 0 || cookieHeld(*book, cookie));
    book->lastCookie = cookie;
    book->held.push_back(Inhibit{cookie, caller});
    return cookie;
}

bool removeInhibit(InhibitBook* book, uint32_t cookie, const char* caller) {
    for (auto at = book->held.begin(); at != book->held.end(); ++at) {
        if (at->cookie == cookie && at->caller == caller) {
            book->held.erase(at);
            return true;
        }
    }
    return false;
}

size_t dropCaller(InhibitBook* book, const char* caller) {
    const size_t before = book->held.size();
    book->held.erase(std::remove_if(book->held.begin(), book->held.end(),
                                    [caller](const Inhibit& inhibit) {
                                        return inhibit.caller == caller;
                                    }),
                     book->held.end());
    return before - book->held.size();
}

bool callerHolds(const InhibitBook& book, const char* caller) {
    return callersInhibits(book, caller) != 0;
}

HoldKeeping chooseHoldKeeping(const SessionBusNames& names) {
    const bool desktopTakesIt = names.gnomeShell || names.sessionManager || names.plasmaAgent;
    const bool desktopTells = desktopTakesIt || names.powerManager || names.kwin;
    return {!names.screenSaverElsewhere && !desktopTakesIt,
            names.screenSaverElsewhere && !desktopTells};
}

static bool unblocked(const IdleWatchState& state) {
    return state.holders == 0 && state.lockSigns == 0;
}

static IdleStep startSaverIfDue(IdleWatchState* state) {
    if (!state->settled || !state->idle || !unblocked(*state) || state->saver != SaverPhase::None) {
        return IdleStep::None;
    }
    state->saver = SaverPhase::Showing;
    return IdleStep::StartSaver;
}

IdleStep holdsRead(IdleWatchState* state) {
    state->settled = true;
    return startSaverIfDue(state);
}

IdleStep idleBegan(IdleWatchState* state) {
    state->idle = true;
    state->idleAgain = state->saver == SaverPhase::AwaitingLock ||
                       state->saver == SaverPhase::Ending;
    return startSaverIfDue(state);
}

IdleStep idleEnded(IdleWatchState* state) {
    state->idle = false;
    state->idleAgain = false;
    state->countAgain = false;
    if (!state->timerArmed) return IdleStep::None;
    state->timerArmed = false;
    return IdleStep::DisarmTimer;
}

// The idle source stayed quiet through a hold or a lock (it saw no input), so once the last one
// ends the timeout is counted again from that moment, as from a last input.
static IdleStep blockersChanged(IdleWatchState* state, bool wasFree) {
    const bool free = unblocked(*state);
    if (!free) state->countAgain = false;
    if (!free && state->timerArmed) {
        state->timerArmed = false;
        return IdleStep::DisarmTimer;
    }
    if (wasFree || !free || !state->settled || !state->idle) return IdleStep::None;
    if (state->saver == SaverPhase::Ending) state->countAgain = true;
    if (state->saver != SaverPhase::None) return IdleStep::None;
    state->timerArmed = true;
    return IdleStep::ArmTimer;
}

IdleStep inhibitsChanged(IdleWatchState* state, InhibitHolder holder, bool holds) {
    const bool wasFree = unblocked(*state);
    state->holders = holds ? state->holders | holder : state->holders & ~uint32_t{holder};
    return blockersChanged(state, wasFree);
}

// Any lock ends a saver that shows; one that waits for the lock it asked for waits for that
// locker's own word, so that nothing of the desktop shows before the locker does.
IdleStep lockSignChanged(IdleWatchState* state, LockSign sign, bool on) {
    const bool wasFree = unblocked(*state);
    state->lockSigns = on ? state->lockSigns | sign : state->lockSigns & ~uint32_t{sign};
    const bool answered = (state->lockSigns & state->lockAnswers) != 0;
    if (answered) state->lockAsked = false;
    if (state->lockSigns != 0 && (state->saver == SaverPhase::Showing ||
                                  (state->saver == SaverPhase::AwaitingLock && answered))) {
        state->saver = SaverPhase::Ending;
        return IdleStep::EndSaver;
    }
    return blockersChanged(state, wasFree);
}

void lockAskedOf(IdleWatchState* state, LockSign answer) {
    state->lockAnswers = answer;
}

IdleStep idleTimerPassed(IdleWatchState* state) {
    state->timerArmed = false;
    return startSaverIfDue(state);
}

IdleStep saverInput(IdleWatchState* state, int64_t shownMilliseconds, int32_t lockAfterSeconds) {
    if (state->saver != SaverPhase::Showing) return IdleStep::None;
    const bool lockDue = lockAfterSeconds != kNeverLock &&
                         shownMilliseconds >= lockAfterSeconds * kMillisecondsPerSecond;
    if (!lockDue || state->lockSigns != 0) {
        state->saver = SaverPhase::Ending;
        return IdleStep::EndSaver;
    }
    state->saver = SaverPhase::AwaitingLock;
    if (state->lockAsked) return IdleStep::None;  // one asked before a sleep is on its way
    state->lockAsked = true;
    return IdleStep::LockSession;
}

IdleStep lockWaitPassed(IdleWatchState* state) {
    if (!state->lockAsked) return IdleStep::None;
    state->lockAsked = false;
    if (state->saver != SaverPhase::AwaitingLock) return IdleStep::None;
    state->saver = SaverPhase::Ending;
    return IdleStep::EndSaver;
}

IdleStep sleepComing(IdleWatchState* state, bool locking) {
    if (!locking || state->lockSigns != 0 || state->lockAsked) return IdleStep::None;
    state->lockAsked = true;
    return IdleStep::LockSession;
}

IdleStep saverEnded(IdleWatchState* state) {
    state->saver = SaverPhase::None;
    if (state->countAgain) {
        state->countAgain = false;
        state->timerArmed = true;
        return IdleStep::ArmTimer;
    }
    if (!state->idleAgain) return IdleStep::None;
    state->idleAgain = false;
    return startSaverIfDue(state);
}

LockDesktop lockDesktopOf(const char* currentDesktop) {
    const std::string desktops = currentDesktop ? currentDesktop : "";
    size_t at = 0;
    while (at <= desktops.size()) {
        const size_t end = std::min(desktops.find(':', at), desktops.size());
        const std::string name = desktops.substr(at, end - at);
        if (name == "GNOME") return LockDesktop::Gnome;
        if (name == "KDE") return LockDesktop::Plasma;
        at = end + 1;
    }
    return LockDesktop::Other;
}

static std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// KConfig's words for true; anything else is false.
static bool kdeTrue(const std::string& value) {
    return value == "true" || value == "1" || value == "on" || value == "yes";
}

DesktopLockSettings readKdeLockSettings(const std::string& text) {
    DesktopLockSettings settings = {true, true, kKdeDefaultLockGraceSeconds};
    std::string group;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = trimmed(text.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line[0] == '[') {
            group = line;
            continue;
        }
        const size_t equals = line.find('=');
        if (group != "[Daemon]" || equals == std::string::npos) continue;
        // NOTE: a key may carry KConfig's flags, as in "Autolock[$i]".
        const std::string key = trimmed(line.substr(0, std::min(line.find('['), equals)));
        const std::string value = trimmed(line.substr(equals + 1));
        int32_t seconds = 0;
        if (key == "Autolock") settings.enabled = kdeTrue(value);
        if (key == "LockGrace" && parseLockSeconds(value.c_str(), &seconds)) {
            settings.delaySeconds = seconds;
        }
    }
    return settings;
}

static LockPlan desktopPlan(const char* desktop, const char* setting, const char* delay,
                            const DesktopLockSettings& settings) {
    const std::string name = std::string(desktop) + "'s " + setting;
    if (!settings.read) return {kNeverLock, name + " cannot be read"};
    if (!settings.enabled) return {kNeverLock, name + " is off"};
    return {settings.delaySeconds,
            name + ", " + delay + " " + std::to_string(settings.delaySeconds) + " s"};
}

LockPlan planLocking(LockRule rule, int32_t optionSeconds, LockDesktop desktop,
                     const DesktopLockSettings& settings) {
    if (rule == LockRule::After) {
        return {optionSeconds, "--lock-after " + std::to_string(optionSeconds)};
    }
    if (rule == LockRule::Never) return {kNeverLock, "--no-lock"};
    switch (desktop) {
    case LockDesktop::Gnome:
        return desktopPlan("GNOME", "automatic screen lock", "lock-delay", settings);
    case LockDesktop::Plasma: return desktopPlan("KDE", "Autolock", "LockGrace", settings);
    case LockDesktop::Other: break;
    }
    return {kNeverLock, "no desktop lock settings to follow here; --lock-after SECONDS locks"};
}

std::string describeLocking(const LockPlan& plan) {
    if (plan.afterSeconds == kNeverLock) return "the session is never locked (" + plan.why + ")";
    if (plan.afterSeconds == 0) {
        return "the session is locked at every return from the saver (" + plan.why + ")";
    }
    return "the session is locked at a return from a saver shown " +
           std::to_string(plan.afterSeconds) + " s or more (" + plan.why + ")";
}

// One argument of an Exec key: quoted when it holds a reserved character, then escaped once more
// as every string value is, and % doubled (a field code otherwise).
static std::string execWord(const std::string& word) {
    static const char kReserved[] = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted = word;
    if (word.empty() || word.find_first_of(kReserved) != std::string::npos) {
        quoted = "\"";
        for (char c : word) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    }
    std::string value;
    for (char c : quoted) {
        if (c == '\n') {
            value += "\\n";
            continue;
        }
        if (c == '\\') value += '\\';
        if (c == '%') value += '%';
        value += c;
    }
    return value;
}

std::string autostartEntry(const std::string& program, const std::vector<std::string>& arguments) {
    std::string exec = execWord(program);
    for (const std::string& word : arguments) exec += " " + execWord(word);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Skyfold idle watcher\n"
           "Comment=Shows the Skyfold screen saver when the session has been idle a while\n"
           "Exec=" + exec + "\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}
