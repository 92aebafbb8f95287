// Process entry of the X11 program: reads the options, opens the display and runs the saver on
// the window they name, or adds Skyfold to xscreensaver's list without a display. Bad input is
// one line on stderr, the usage after it, and exit status 1.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

#include "host/program_options.h"
#include "host/x11/saver_window.h"
#include "host/x11/xscreensaver_install.h"
#include "settings/x11/settings_store.h"

static const int kBadInputExitCode = 1;

static Display* openDisplay() {
    Display* display = XOpenDisplay(NULL);
    if (display) return display;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "skyfold: cannot open a display: DISPLAY is not set\n");
    } else {
        std::fprintf(stderr, "skyfold: cannot open display '%s'\n", name);
    }
    return NULL;
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
    setSettingOverrides(options.overrides);
    Display* display = openDisplay();
    if (!display) return kBadInputExitCode;
    return runSaverWindow(display, options);
}
