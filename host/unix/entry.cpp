// Process entry of the Linux program: reads the options, then runs the saver on the window system
// they choose (Wayland or X11), runs the settings dialog (--config), adds Skyfold to
// xscreensaver's list without a display, or runs the idle watcher (--idle) or writes its
// autostart entry. Bad input is one line on stderr, the usage after it, and exit status 1.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/program_options.h"
#include "host/unix/idle_watch.h"
#include "host/unix/program_path.h"
#include "host/unix/run_control.h"
#include "host/wayland/wayland_run.h"
#include "host/x11/saver_window.h"
#include "host/x11/xscreensaver_install.h"
#include "scene/unix/renderer_memory.h"
#include "settings/unix/settings_store.h"

static const int kBadInputExitCode = 1;
static const char kSettingsProgram[] = "skyfold-settings";

// The settings dialog is a program of its own, installed beside this one; it takes this process's
// place, so its exit status is the run's.
static int runSettingsProgram(const char* argv0) {
    std::string path = ownProgramPath(argv0);
    path = path.substr(0, path.rfind('/') + 1) + kSettingsProgram;
    char* const arguments[] = {const_cast<char*>(kSettingsProgram), NULL};
    execv(path.c_str(), arguments);
    std::fprintf(stderr, "skyfold: cannot run %s: %s\n", path.c_str(), std::strerror(errno));
    return kBadInputExitCode;
}

// Wayland was chosen only because WAYLAND_DISPLAY is set; a compositor that does not answer while
// an X display is at hand (a variable left over from another session) leaves the run to X11.
static bool fallsBackToX11(const ProgramOptions& options) {
    const char* x11Display = std::getenv("DISPLAY");
    if (options.platform != WindowSystem::Automatic || options.target == DrawTarget::Background ||
        !x11Display || !*x11Display || waylandReachable()) {
        return false;
    }
    std::fprintf(stderr, "skyfold: cannot reach the Wayland compositor '%s': running on X11 (%s)\n",
                 std::getenv("WAYLAND_DISPLAY"), x11Display);
    return true;
}

// The one choice of window system, for a run and for the idle watcher with its saver alike.
static bool chooseRunWindowSystem(const ProgramOptions& options, WindowSystem* windowSystem) {
    char error[kOptionErrorBytes];
    if (!chooseWindowSystem(options, std::getenv("WAYLAND_DISPLAY"), windowSystem, error)) {
        std::fprintf(stderr, "skyfold: %s\n", error);
        return false;
    }
    if (*windowSystem == WindowSystem::Wayland && fallsBackToX11(options)) {
        *windowSystem = WindowSystem::X11;
    }
    return true;
}

int main(int argc, char** argv) {
    ProgramOptions options;
    char error[kOptionErrorBytes];
    if (!parseProgramOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), &options, error)) {
        std::fprintf(stderr, "skyfold: %s\n%s", error, kProgramUsage);
        return kBadInputExitCode;
    }
    if (options.action == ProgramAction::Help) {
        std::fputs(kProgramUsage, stdout);
        return 0;
    }
    if (options.action == ProgramAction::InstallXscreensaver) return installXscreensaverEntry();
    if (options.action == ProgramAction::Configure) return runSettingsProgram(argv[0]);
    if (options.action == ProgramAction::InstallAutostart) {
        return installAutostart(options, argv[0]);
    }
    if (options.action == ProgramAction::RemoveAutostart) return removeAutostart();
    WindowSystem windowSystem = WindowSystem::X11;
    if (!chooseRunWindowSystem(options, &windowSystem)) return kBadInputExitCode;
    if (options.action == ProgramAction::IdleWatch) {
        return runIdleWatch(options, windowSystem, argv[0]);
    }
    setSettingOverrides(options.overrides);
    handRunInputToWatcher(options.handInput);
    keepRendererMemoryMapped();
    return windowSystem == WindowSystem::Wayland ? runWaylandSaver(options) : runX11Saver(options);
}
