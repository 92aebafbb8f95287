// The idle watcher's platform-free rules: timeout range, source order, inhibit book, the watcher's
// steps, and the command lines and autostart entry it writes.
#include "host/idle_rules.h"

#include <algorithm>
#include <cstring>

static const int kLongestSecondsDigits = 9;  // more cannot be in range, and cannot overflow

bool parseIdleSeconds(const char* text, int32_t* seconds) {
    const size_t length = text ? std::strlen(text) : 0;
    if (length == 0 || length > kLongestSecondsDigits) return false;
    int32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (value < kFewestIdleSeconds || value > kMostIdleSeconds) return false;
    *seconds = value;
    return true;
}

IdleSource chooseIdleSource(const IdleOffers& offers) {
    if (offers.extIdleNotify) return IdleSource::ExtIdleNotify;
    if (offers.kdeIdle) return IdleSource::KdeIdle;
    if (offers.mutterIdleMonitor) return IdleSource::MutterIdleMonitor;
    if (offers.x11ScreenSaver) return IdleSource::X11ScreenSaver;
    return IdleSource::None;
}

const char* idleSourceName(IdleSource source) {
    switch (source) {
    case IdleSource::ExtIdleNotify: return "ext-idle-notify-v1";
    case IdleSource::KdeIdle: return "org_kde_kwin_idle";
    case IdleSource::MutterIdleMonitor: return "org.gnome.Mutter.IdleMonitor";
    case IdleSource::X11ScreenSaver: return "MIT-SCREEN-SAVER";
    case IdleSource::None: break;
    }
    return "none";
}

static bool cookieHeld(const InhibitBook& book, uint32_t cookie) {
    return std::any_of(book.held.begin(), book.held.end(),
                       [cookie](const Inhibit& inhibit) { return inhibit.cookie == cookie; });
}

uint32_t addInhibit(InhibitBook* book, const char* caller) {
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
    return std::any_of(book.held.begin(), book.held.end(),
                       [caller](const Inhibit& inhibit) { return inhibit.caller == caller; });
}

static IdleStep startSaverIfDue(IdleWatchState* state) {
    if (!state->idle || state->holders != 0 || state->saverRunning) return IdleStep::None;
    state->saverRunning = true;
    return IdleStep::StartSaver;
}

IdleStep idleBegan(IdleWatchState* state) {
    state->idle = true;
    return startSaverIfDue(state);
}

IdleStep idleEnded(IdleWatchState* state) {
    state->idle = false;
    if (!state->timerArmed) return IdleStep::None;
    state->timerArmed = false;
    return IdleStep::DisarmTimer;
}

// The idle source stayed quiet through an inhibit (it saw no input), so once the last one ends
// the timeout is counted again from that moment, as from a last input.
IdleStep inhibitsChanged(IdleWatchState* state, InhibitHolder holder, bool holds) {
    const uint32_t before = state->holders;
    state->holders = holds ? before | holder : before & ~static_cast<uint32_t>(holder);
    if (state->holders != 0 && state->timerArmed) {
        state->timerArmed = false;
        return IdleStep::DisarmTimer;
    }
    if (before != 0 && state->holders == 0 && state->idle && !state->saverRunning) {
        state->timerArmed = true;
        return IdleStep::ArmTimer;
    }
    return IdleStep::None;
}

IdleStep idleTimerPassed(IdleWatchState* state) {
    state->timerArmed = false;
    return startSaverIfDue(state);
}

void saverEnded(IdleWatchState* state) {
    state->saverRunning = false;
}

// The option's name without its dashes and any "=value", as the command line reads it.
static std::string optionName(const char* word) {
    if (word[0] != '-') return std::string();
    const char* name = word[1] == '-' ? word + 2 : word + 1;
    return std::string(name, std::strcspn(name, "="));
}

static std::vector<std::string> wordsWithout(int argc, const char* const* argv,
                                             bool dropTimeout) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string name = optionName(argv[i]);
        if (name == "idle" || name == "install-autostart") continue;
        if (dropTimeout && name == "timeout") {
            if (!std::strchr(argv[i], '=')) ++i;  // its value is the next word
            continue;
        }
        words.push_back(argv[i]);
    }
    return words;
}

std::vector<std::string> saverArguments(int argc, const char* const* argv) {
    std::vector<std::string> words = wordsWithout(argc, argv, true);
    words.insert(words.begin(), "--fullscreen");
    return words;
}

std::vector<std::string> watcherArguments(int argc, const char* const* argv) {
    std::vector<std::string> words = wordsWithout(argc, argv, false);
    words.insert(words.begin(), "--idle");
    return words;
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
