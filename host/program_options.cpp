// Option grammar of the Linux program, whichever window system it draws on and in each of its
// modes (the saver, --config, --idle, the installers). Options are words of their own ("--count
// 200" or "--count=200"); one dash does as well as two, as X programs and xscreensaver's own hacks
// accept.
#include "host/program_options.h"

#include <cstdio>
#include <cstring>

#include "host/idle_rules.h"
#include "settings/note_count_scroll.h"

const char kProgramUsage[] =
    "usage: skyfold [--window [--geometry WxH] | --fullscreen [--hand-input] | --background |\n"
    "                --root | --window-id ID] [--platform x11|wayland]\n"
    "               [--count N] [--view-angle bottom-up|front-on|top-down|random]\n"
    "               [--currency australian|american|euro] [--max-fps N] [--fps]\n"
    "       skyfold --idle | --install-autostart [--timeout SECONDS]\n"
    "               [--lock-after SECONDS | --no-lock] [--count N] [--view-angle MODE]\n"
    "               [--currency NAME] [--max-fps N] [--fps] [--platform x11|wayland]\n"
    "       skyfold --install-xscreensaver | --remove-autostart | --config\n"
    "Banknotes tumble down through a dark, fogged sky.\n"
    "  --window           a window of its own (1280x720 unless --geometry says otherwise);\n"
    "                     q or Escape ends it. This is what a plain 'skyfold' does.\n"
    "  --fullscreen       the whole screen (on Wayland every monitor); a key, a click or a\n"
    "                     mouse movement ends it\n"
    "  --hand-input       with --fullscreen, as the idle watcher runs it: that input does not\n"
    "                     end the run but is told on standard output; SIGTERM ends it\n"
    "  --background       Wayland only: every monitor's desktop background, under the\n"
    "                     windows (a live wallpaper); input does not end it\n"
    "  --root             X11 only: draw on the window in $XSCREENSAVER_WINDOW, or on the\n"
    "                     root window\n"
    "  --window-id ID     X11 only: draw on the window ID (0x... or decimal)\n"
    "  --platform NAME    x11 or wayland; without it Wayland where $WAYLAND_DISPLAY names a\n"
    "                     compositor and no X11 window is named, X11 otherwise\n"
    "  --count N          notes falling, 75 to 1500\n"
    "  --view-angle MODE  bottom-up, front-on, top-down or random\n"
    "  --currency NAME    australian, american or euro\n"
    "  --max-fps N        at most N frames a second, 1 to 1000 (0: as fast as it goes);\n"
    "                     without it, the display's rate (at most 30 on battery)\n"
    "  --fps              show the frame rate and the share of a core in the lower left corner\n"
    "  --config           the settings dialog, which edits the settings file below\n"
    "  --idle             stay in the session and show the saver full screen after\n"
    "                     --timeout SECONDS without input (1 to 86400, 300 without it),\n"
    "                     until input ends it; again at every idle period. The idle time\n"
    "                     comes from the first the session offers: ext-idle-notify-v1,\n"
    "                     org_kde_kwin_idle, X11's SYNC IDLETIME or MIT-SCREEN-SAVER,\n"
    "                     org.gnome.Mutter.IdleMonitor. Players' and browsers' requests not\n"
    "                     to start (idle inhibitors, org.freedesktop.ScreenSaver's Inhibit,\n"
    "                     the desktop's own, logind's idle inhibitors) hold it back; the\n"
    "                     desktop's lock or blank ends it. One watcher per display.\n"
    "  --lock-after SECONDS\n"
    "                     lock the session through the desktop's own locker when input ends\n"
    "                     a saver that showed SECONDS or more (0 to 86400; 0: at every\n"
    "                     return); the saver stays until the lock is there, and the session\n"
    "                     is also locked before the machine sleeps\n"
    "  --no-lock          never lock. Without either, GNOME's and KDE's own lock settings\n"
    "                     decide, and elsewhere nothing is locked\n"
    "  --install-autostart\n"
    "                     start 'skyfold --idle' with these options at every login: writes\n"
    "                     $XDG_CONFIG_HOME/autostart/skyfold.desktop, keeping a previous\n"
    "                     one as skyfold.desktop.bak\n"
    "  --remove-autostart remove that file\n"
    "  --install-xscreensaver\n"
    "                     add \"GL: skyfold --root\" to the programs in ~/.xscreensaver,\n"
    "                     keeping the previous file as ~/.xscreensaver.bak\n"
    "  --help             this text\n"
    "Without --count, --view-angle and --currency the settings come from\n"
    "$XDG_CONFIG_HOME/Quillmark/Skyfold.conf (~/.config/Quillmark/Skyfold.conf).\n";

static const int32_t kLargestWindowPixels = 32767;  // X11 window sizes are 16-bit signed

struct NamedValue {
    const char* name;
    int32_t value;
};

static const NamedValue kViewAngles[] = {
    {"bottom-up", BottomUp}, {"front-on", FrontOn}, {"top-down", TopDown}, {"random", Random}};
static const NamedValue kCurrencies[] = {
    {"australian", AustralianDollars}, {"american", AmericanDollars}, {"euro", Euros}};
static const NamedValue kWindowSystems[] = {
    {"x11", static_cast<int32_t>(WindowSystem::X11)},
    {"wayland", static_cast<int32_t>(WindowSystem::Wayland)}};

// Unsigned digits of the base, all of them, fitting in 32 bits.
static bool parseUnsigned(const char* text, unsigned base, uint32_t* value) {
    if (*text == '\0') return false;
    uint64_t number = 0;
    for (; *text; ++text) {
        const char c = *text;
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return false;
        if (digit >= base) return false;
        number = number * base + digit;
        if (number > 0xFFFFFFFFu) return false;
    }
    *value = static_cast<uint32_t>(number);
    return true;
}

bool parseWindowId(const char* text, uint32_t* windowId) {
    if (!text) return false;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    return parseUnsigned(hex ? text + 2 : text, hex ? 16 : 10, windowId) && *windowId != 0;
}

bool parseMaxFps(const char* text, int32_t* framesPerSecond) {
    uint32_t fps = 0;
    if (!parseUnsigned(text, 10, &fps) || fps > static_cast<uint32_t>(kHighestMaxFps)) return false;
    *framesPerSecond = static_cast<int32_t>(fps);
    return true;
}

static bool parseGeometry(const char* text, int32_t* width, int32_t* height) {
    const char* times = std::strpbrk(text, "xX");
    if (!times) return false;
    char widthText[16];
    const size_t widthLength = static_cast<size_t>(times - text);
    if (widthLength >= sizeof widthText) return false;
    std::memcpy(widthText, text, widthLength);
    widthText[widthLength] = '\0';
    uint32_t w = 0, h = 0;
    if (!parseUnsigned(widthText, 10, &w) || !parseUnsigned(times + 1, 10, &h)) return false;
    if (w == 0 || h == 0 || w > kLargestWindowPixels || h > kLargestWindowPixels) return false;
    *width = static_cast<int32_t>(w);
    *height = static_cast<int32_t>(h);
    return true;
}

static char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// NOTE: ASCII only, whatever the locale: "EURO" is euro, a Turkish dotless i is nobody's.
static bool sameWordAnyCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (asciiLower(*a) != asciiLower(*b)) return false;
    }
    return *a == *b;
}

// A value word is read without regard to case: --currency Euro is --currency euro.
template <size_t N>
static bool lookUpName(const NamedValue (&table)[N], const char* text, int32_t* value) {
    for (const NamedValue& entry : table) {
        if (sameWordAnyCase(entry.name, text)) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}

template <size_t N>
static const char* nameOf(const NamedValue (&table)[N], int32_t value) {
    for (const NamedValue& entry : table) {
        if (entry.value == value) return entry.name;
    }
    return table[0].name;
}

// The option's name without its dashes, and its "=value" part when it has one.
struct OptionWord {
    char name[32];
    const char* inlineValue;
};

static bool splitOption(const char* word, OptionWord* option) {
    if (word[0] != '-' || word[1] == '\0') return false;
    const char* name = word[1] == '-' ? word + 2 : word + 1;
    const char* equals = std::strchr(name, '=');
    const size_t length = equals ? static_cast<size_t>(equals - name) : std::strlen(name);
    if (length == 0 || length >= sizeof option->name) return false;
    std::memcpy(option->name, name, length);
    option->name[length] = '\0';
    option->inlineValue = equals ? equals + 1 : nullptr;
    return true;
}

struct Parser {
    int argc;
    const char* const* argv;
    int next;  // the word after the option being read
    char (&error)[kOptionErrorBytes];

    template <typename... Args>
    bool fail(const char* format, Args... args) {
        std::snprintf(error, kOptionErrorBytes, format, args...);
        return false;
    }

    // The option's value: its "=value" part, or the next word.
    bool value(const OptionWord& option, const char** text) {
        if (option.inlineValue) {
            *text = option.inlineValue;
            return true;
        }
        if (next >= argc) return fail("--%s needs a value", option.name);
        *text = argv[next++];
        return true;
    }
};

static bool isSettingName(const char* name) {
    return std::strcmp(name, "count") == 0 || std::strcmp(name, "view-angle") == 0 ||
           std::strcmp(name, "currency") == 0;
}

template <typename... Args>
static SettingValue malformed(char (&reason)[kOptionErrorBytes], const char* format,
                              Args... args) {
    std::snprintf(reason, kOptionErrorBytes, format, args...);
    return SettingValue::Malformed;
}

SettingValue readSettingValue(const char* name, const char* text, SettingOverrides* overrides,
                              char (&reason)[kOptionErrorBytes]) {
    reason[0] = '\0';
    if (std::strcmp(name, "count") == 0) {
        uint32_t count = 0;
        if (!parseUnsigned(text, 10, &count) || count < static_cast<uint32_t>(kFewestNotes) ||
            count > static_cast<uint32_t>(kMostNotes)) {
            return malformed(reason, "'%.40s' is not a number from %d to %d", text, kFewestNotes,
                             kMostNotes);
        }
        overrides->noteCountGiven = true;
        overrides->values.noteCount = static_cast<int32_t>(count);
    } else if (std::strcmp(name, "view-angle") == 0) {
        int32_t viewAngle = 0;
        if (!lookUpName(kViewAngles, text, &viewAngle)) {
            return malformed(reason, "'%.40s' is not bottom-up, front-on, top-down or random",
                             text);
        }
        overrides->viewAngleGiven = true;
        overrides->values.viewAngle = viewAngle;
    } else if (std::strcmp(name, "currency") == 0) {
        int32_t currency = 0;
        if (!lookUpName(kCurrencies, text, &currency)) {
            return malformed(reason, "'%.40s' is not australian, american or euro", text);
        }
        overrides->currencyGiven = true;
        overrides->values.currencyType = currency;
    } else {
        return SettingValue::NotASetting;
    }
    return SettingValue::Read;
}

static bool readSetting(Parser& parser, const OptionWord& option, ProgramOptions* options,
                        bool* known) {
    *known = isSettingName(option.name);
    if (!*known) return true;
    const char* text = nullptr;
    if (!parser.value(option, &text)) return false;
    char reason[kOptionErrorBytes];
    if (readSettingValue(option.name, text, &options->overrides, reason) != SettingValue::Read) {
        return parser.fail("--%s: %.120s", option.name, reason);  // fits the error line whole
    }
    return true;
}

static bool readTarget(Parser& parser, const OptionWord& option, ProgramOptions* options,
                       bool* explicitWindowId, bool* known) {
    const char* text = nullptr;
    *known = true;
    const bool flag = std::strcmp(option.name, "window") == 0 ||
                      std::strcmp(option.name, "fullscreen") == 0 ||
                      std::strcmp(option.name, "background") == 0 ||
                      std::strcmp(option.name, "root") == 0;
    if (flag && option.inlineValue) return parser.fail("--%s takes no value", option.name);
    if (std::strcmp(option.name, "window") == 0) {
        options->target = DrawTarget::OwnWindow;
    } else if (std::strcmp(option.name, "fullscreen") == 0) {
        options->target = DrawTarget::FullScreen;
    } else if (std::strcmp(option.name, "background") == 0) {
        options->target = DrawTarget::Background;
    } else if (std::strcmp(option.name, "root") == 0) {
        options->target = DrawTarget::RootWindow;
    } else if (std::strcmp(option.name, "window-id") == 0) {
        if (!parser.value(option, &text)) return false;
        if (!parseWindowId(text, &options->windowId)) {
            return parser.fail("--window-id: '%.40s' is not a window id", text);
        }
        options->target = DrawTarget::GivenWindow;
        *explicitWindowId = true;
    } else if (std::strcmp(option.name, "platform") == 0) {
        if (!parser.value(option, &text)) return false;
        int32_t platform = 0;
        if (!lookUpName(kWindowSystems, text, &platform)) {
            return parser.fail("--platform: '%.40s' is not x11 or wayland", text);
        }
        options->platform = static_cast<WindowSystem>(platform);
    } else if (std::strcmp(option.name, "geometry") == 0) {
        if (!parser.value(option, &text)) return false;
        if (!parseGeometry(text, &options->width, &options->height)) {
            return parser.fail("--geometry: '%.40s' is not WIDTHxHEIGHT", text);
        }
    } else {
        *known = false;
    }
    return true;
}

static bool readPacing(Parser& parser, const OptionWord& option, ProgramOptions* options,
                       bool* known) {
    const char* text = nullptr;
    *known = true;
    if (std::strcmp(option.name, "fps") == 0) {
        if (option.inlineValue) return parser.fail("--%s takes no value", option.name);
        options->showFps = true;
    } else if (std::strcmp(option.name, "max-fps") == 0) {
        if (!parser.value(option, &text)) return false;
        if (!parseMaxFps(text, &options->maxFps)) {
            return parser.fail("--max-fps: '%.40s' is not a number from 0 to %d", text,
                               kHighestMaxFps);
        }
    } else {
        *known = false;
    }
    return true;
}

// --idle, --install-autostart, the watcher's own options (the last given is noted in
// watcherOption) and the --hand-input of its saver.
static bool readIdleWatch(Parser& parser, const OptionWord& option, ProgramOptions* options,
                          const char** watcherOption, bool* known) {
    *known = true;
    const char* text = nullptr;
    const char* const name = option.name;
    const bool flag = std::strcmp(name, "idle") == 0 ||
                      std::strcmp(name, "install-autostart") == 0 ||
                      std::strcmp(name, "no-lock") == 0 || std::strcmp(name, "hand-input") == 0;
    if (flag && option.inlineValue) return parser.fail("--%s takes no value", name);
    const LockRule lockRule = options->lockRule;
    if (std::strcmp(name, "idle") == 0) {
        options->action = ProgramAction::IdleWatch;
    } else if (std::strcmp(name, "install-autostart") == 0) {
        options->action = ProgramAction::InstallAutostart;
    } else if (std::strcmp(name, "hand-input") == 0) {
        options->handInput = true;
    } else if (std::strcmp(name, "no-lock") == 0) {
        options->lockRule = LockRule::Never;
        *watcherOption = "--no-lock";
    } else if (std::strcmp(name, "timeout") == 0) {
        if (!parser.value(option, &text)) return false;
        if (!parseIdleSeconds(text, &options->idleSeconds)) {
            return parser.fail("--timeout: '%.40s' is not a number of seconds from %d to %d",
                               text, kFewestIdleSeconds, kMostIdleSeconds);
        }
        *watcherOption = "--timeout";
    } else if (std::strcmp(name, "lock-after") == 0) {
        if (!parser.value(option, &text)) return false;
        if (!parseLockSeconds(text, &options->lockAfterSeconds)) {
            return parser.fail("--lock-after: '%.40s' is not a number of seconds from 0 to %d",
                               text, kMostIdleSeconds);
        }
        options->lockRule = LockRule::After;
        *watcherOption = "--lock-after";
    } else {
        *known = false;
    }
    if (lockRule != LockRule::Desktop && options->lockRule != lockRule) {
        return parser.fail("%s", "--lock-after and --no-lock contradict each other");
    }
    return true;
}

// The watcher shows the saver full screen and nothing else; its own options are its alone, and
// only a full-screen run hands its input on.
static bool checkIdleWatch(Parser& parser, const ProgramOptions& options,
                           const char* watcherOption, bool targetGiven) {
    const bool watcher = options.action == ProgramAction::IdleWatch ||
                         options.action == ProgramAction::InstallAutostart;
    if (watcherOption && !watcher) {
        return parser.fail("%s goes with --idle or --install-autostart", watcherOption);
    }
    if (watcher && targetGiven) {
        return parser.fail("%s", "--idle and --install-autostart show the saver full screen: no "
                                 "--window, --fullscreen, --background, --root or --window-id");
    }
    if (options.handInput && options.target != DrawTarget::FullScreen) {
        return parser.fail("%s", "--hand-input goes with --fullscreen");
    }
    return true;
}

// The actions that run instead of the saver, or Run for any other option.
static ProgramAction actionStandingAlone(const char* name) {
    if (std::strcmp(name, "config") == 0) return ProgramAction::Configure;
    if (std::strcmp(name, "install-xscreensaver") == 0) return ProgramAction::InstallXscreensaver;
    if (std::strcmp(name, "remove-autostart") == 0) return ProgramAction::RemoveAutostart;
    return ProgramAction::Run;
}

// The daemon's window takes the place of every target but an explicit --window-id.
static bool applyDaemonWindow(Parser& parser, const char* xscreensaverWindow,
                              bool explicitWindowId, ProgramOptions* options) {
    if (!xscreensaverWindow || explicitWindowId) return true;
    if (!parseWindowId(xscreensaverWindow, &options->windowId)) {
        return parser.fail("XSCREENSAVER_WINDOW: '%.40s' is not a window id", xscreensaverWindow);
    }
    options->target = DrawTarget::GivenWindow;
    return true;
}

bool parseProgramOptions(int argc, const char* const* argv, const char* xscreensaverWindow,
                         ProgramOptions* options, char (&error)[kOptionErrorBytes]) {
    *options = ProgramOptions{ProgramAction::Run, DrawTarget::OwnWindow, 0,
                              kDefaultWindowWidthPixels, kDefaultWindowHeightPixels,
                              SettingOverrides{false, false, false, SaverSettings{0, 0, 0}},
                              kNoMaxFps, false, WindowSystem::Automatic, kDefaultIdleSeconds,
                              LockRule::Desktop, 0, false};
    error[0] = '\0';
    Parser parser = {argc, argv, 1, error};
    bool explicitWindowId = false, targetGiven = false;
    const char* watcherOption = nullptr;  // the last of the watcher's own options given
    while (parser.next < argc) {
        const char* word = argv[parser.next++];
        OptionWord option;
        if (!splitOption(word, &option)) return parser.fail("unexpected argument '%.40s'", word);
        if (std::strcmp(option.name, "help") == 0 || std::strcmp(option.name, "h") == 0) {
            options->action = ProgramAction::Help;
            return true;
        }
        const ProgramAction alone = actionStandingAlone(option.name);
        if (alone != ProgramAction::Run) {
            // Neither draws anything, so no other option could apply to it.
            if (option.inlineValue || argc != 2) {
                return parser.fail("--%s takes no value and no other option", option.name);
            }
            options->action = alone;
            return true;
        }
        bool known = false;
        if (!readTarget(parser, option, options, &explicitWindowId, &known)) return false;
        targetGiven = targetGiven || (known && std::strcmp(option.name, "platform") != 0);
        if (!known && !readIdleWatch(parser, option, options, &watcherOption, &known)) return false;
        if (!known && !readSetting(parser, option, options, &known)) return false;
        if (!known && !readPacing(parser, option, options, &known)) return false;
        if (!known) return parser.fail("unknown option '%.40s'", word);
    }
    if (!checkIdleWatch(parser, *options, watcherOption, targetGiven)) return false;
    return applyDaemonWindow(parser, xscreensaverWindow, explicitWindowId, options);
}

// The words that give a run the settings and frame options these options give, on the window
// system named (none for Automatic).
static void addRunWords(const ProgramOptions& options, WindowSystem windowSystem,
                        std::vector<std::string>* words) {
    const SettingOverrides& given = options.overrides;
    if (given.noteCountGiven) {
        words->insert(words->end(), {"--count", std::to_string(given.values.noteCount)});
    }
    if (given.viewAngleGiven) {
        words->insert(words->end(), {"--view-angle", nameOf(kViewAngles, given.values.viewAngle)});
    }
    if (given.currencyGiven) {
        words->insert(words->end(), {"--currency", nameOf(kCurrencies, given.values.currencyType)});
    }
    if (options.maxFps != kNoMaxFps) {
        words->insert(words->end(), {"--max-fps", std::to_string(options.maxFps)});
    }
    if (options.showFps) words->push_back("--fps");
    if (windowSystem != WindowSystem::Automatic) {
        words->insert(words->end(),
                      {"--platform", nameOf(kWindowSystems, static_cast<int32_t>(windowSystem))});
    }
}

std::vector<std::string> saverWords(const ProgramOptions& options, WindowSystem windowSystem) {
    std::vector<std::string> words = {"--fullscreen", "--hand-input"};
    addRunWords(options, windowSystem, &words);
    return words;
}

std::vector<std::string> watcherWords(const ProgramOptions& options) {
    std::vector<std::string> words = {"--idle"};
    if (options.idleSeconds != kDefaultIdleSeconds) {
        words.insert(words.end(), {"--timeout", std::to_string(options.idleSeconds)});
    }
    if (options.lockRule == LockRule::Never) words.push_back("--no-lock");
    if (options.lockRule == LockRule::After) {
        words.insert(words.end(), {"--lock-after", std::to_string(options.lockAfterSeconds)});
    }
    addRunWords(options, options.platform, &words);
    return words;
}

static bool isX11Window(DrawTarget target) {
    return target == DrawTarget::GivenWindow || target == DrawTarget::RootWindow;
}

bool chooseWindowSystem(const ProgramOptions& options, const char* waylandDisplay,
                        WindowSystem* windowSystem, char (&error)[kOptionErrorBytes]) {
    error[0] = '\0';
    WindowSystem chosen = options.platform;
    if (chosen == WindowSystem::Automatic) {
        const bool compositor = waylandDisplay && *waylandDisplay;
        chosen = compositor && !isX11Window(options.target) ? WindowSystem::Wayland
                                                            : WindowSystem::X11;
    }
    if (chosen == WindowSystem::Wayland && isX11Window(options.target)) {
        std::snprintf(error, kOptionErrorBytes, "--root, --window-id and XSCREENSAVER_WINDOW "
                      "name X11 windows, not Wayland ones");
        return false;
    }
    if (chosen == WindowSystem::X11 && options.target == DrawTarget::Background) {
        std::snprintf(error, kOptionErrorBytes, "--background is for Wayland desktops%s",
                      options.platform == WindowSystem::X11 ? "" : ", and WAYLAND_DISPLAY is not set");
        return false;
    }
    *windowSystem = chosen;
    return true;
}
