// The command line of the native Linux program: where it draws (a window of its own, the whole
// screen, the desktop's background, or a window that xscreensaver gives it) and on which window
// system, the settings that stand in for the stored ones for one run, its frame-rate ceiling and
// display, and the usage text. Pure text; the entry opens the display and does the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_file.h"

enum class ProgramAction {
    Run,
    Help,
    Configure,           // --config, alone: the settings dialog
    InstallXscreensaver,  // --install-xscreensaver, alone: add Skyfold to ~/.xscreensaver
    IdleWatch,            // --idle: stay in the session, the saver after --timeout of idle
    InstallAutostart,     // --install-autostart: the watcher at every login
    RemoveAutostart       // --remove-autostart, alone
};

enum class DrawTarget {
    OwnWindow,    // --window, or no option at all: a window of its own, q or Escape ends it
    FullScreen,   // --fullscreen: input ends it, as a Windows full-screen run
    GivenWindow,  // --window-id, or $XSCREENSAVER_WINDOW: never maps a window of its own
    RootWindow,   // --root with no $XSCREENSAVER_WINDOW: the screen's root window
    Background    // --background (Wayland): under every window, and no input ends it
};

// Whether the watcher locks the session when the user comes back to its saver.
enum class LockRule {
    Desktop,  // neither option: as the desktop's own settings say, where they can be read
    Never,    // --no-lock
    After     // --lock-after SECONDS
};

enum class WindowSystem {
    Automatic,  // no --platform: chooseWindowSystem decides
    X11,
    Wayland
};

const int32_t kDefaultWindowWidthPixels = 1280;
const int32_t kNoMaxFps = -1;           // no --max-fps: frames at the display's rate
const int32_t kHighestMaxFps = 1000;    // frames per second; 0 means unpaced
const int32_t kDefaultWindowHeightPixels = 720;

struct ProgramOptions {
    ProgramAction action;
    DrawTarget target;
    uint32_t windowId;             // GivenWindow only
    int32_t width, height;         // OwnWindow: its first size in pixels
    SettingOverrides overrides;
    int32_t maxFps;                // --max-fps: frames per second, 0 unpaced, or kNoMaxFps
    bool showFps;                  // --fps: the frame rate in the lower left corner
    WindowSystem platform;         // --platform, or Automatic
    int32_t idleSeconds;           // --timeout: the watcher's idle time before the saver
    LockRule lockRule;
    int32_t lockAfterSeconds;      // --lock-after: how long a saver shows before a return locks
    bool handInput;                // --hand-input: input is told to the watcher, not an end
};

const size_t kOptionErrorBytes = 160;

// Reads argv[1] to argv[argc - 1]. xscreensaverWindow is $XSCREENSAVER_WINDOW, or null when it is
// not set. Returns false with a one-line reason in error (no trailing newline) for an unknown
// option, a missing or malformed value, or a malformed $XSCREENSAVER_WINDOW that the run would use.
bool parseProgramOptions(int argc, const char* const* argv, const char* xscreensaverWindow,
                         ProgramOptions* options, char (&error)[kOptionErrorBytes]);

// The window system a run uses: the one --platform names; else X11 for the targets that are X11
// windows (--root, --window-id, $XSCREENSAVER_WINDOW); else Wayland where waylandDisplay
// ($WAYLAND_DISPLAY, or null) names a compositor; else X11. False with a one-line reason when the
// target does not exist on the window system that --platform names.
bool chooseWindowSystem(const ProgramOptions& options, const char* waylandDisplay,
                        WindowSystem* windowSystem, char (&error)[kOptionErrorBytes]);

// The watcher's saver's command line (argv[1] on): --fullscreen on the window system the watcher
// chose, handing input to the watcher, with the settings and frame options given.
std::vector<std::string> saverWords(const ProgramOptions& options, WindowSystem windowSystem);

// The watcher's command line for its autostart entry: --idle and the options given, the default
// timeout left out.
std::vector<std::string> watcherWords(const ProgramOptions& options);

// How a setting option reads its value, the one rule for the command line and the page's URL
// query: name is count, view-angle or currency (no dashes); text its value, whose words are read
// without regard to case. Malformed leaves overrides as they were and puts the reason, without the
// option's name, in reason.
enum class SettingValue { NotASetting, Read, Malformed };
SettingValue readSettingValue(const char* name, const char* text, SettingOverrides* overrides,
                              char (&reason)[kOptionErrorBytes]);

// Reads a frame ceiling as --max-fps takes it: decimal, 0 (no ceiling) to kHighestMaxFps.
bool parseMaxFps(const char* text, int32_t* framesPerSecond);

// Reads a window id as X programs write it: hexadecimal with 0x, or decimal; never 0.
bool parseWindowId(const char* text, uint32_t* windowId);

extern const char kProgramUsage[];
