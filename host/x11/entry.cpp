// Process entry of the X11 program: reads the options, then opens the display and runs the saver
// on the window they name, or opens the settings dialog (--config) with its face decoded here.
// Bad input is one line on stderr, the usage after it, and exit status 1.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/program_options.h"
#include "host/x11/saver_window.h"
#include "resources/resource_ids.h"
#include "scene/rle8_bitmap.h"
#include "scene/scene_platform.h"
#include "settings/config_dialog_rules.h"
#include "settings/x11/config_dialog.h"
#include "settings/x11/settings_store.h"

static const int kBadInputExitCode = 1;

static const int kTexelBytes = 4;  // the decoded face is RGBA

static void reportNoDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "skyfold: cannot open a display: DISPLAY is not set\n");
    } else {
        std::fprintf(stderr, "skyfold: cannot open display '%s'\n", name);
    }
}

static Display* openDisplay() {
    Display* display = XOpenDisplay(NULL);
    if (!display) reportNoDisplay();
    return display;
}

// The dialog's face is one of the scene's pictures; the settings code does not decode pictures.
static int configure() {
    if (!openConfigDialogDisplay()) {
        reportNoDisplay();
        return kBadInputExitCode;
    }
    size_t bytes = 0;
    const uint8_t* picture = sceneBitmapResource(kDialogFaceBitmapId, &bytes);
    std::vector<uint8_t> rgba(static_cast<size_t>(kDialogWidthPixels) * kDialogHeightPixels *
                              kTexelBytes);
    // A damaged face decodes to a clear picture: the dialog still works, on the theme's grey.
    decodePackedBitmap(picture, bytes, kDialogWidthPixels, kDialogHeightPixels, false, rgba.data());
    return runConfigDialog({rgba.data(), kDialogWidthPixels, kDialogHeightPixels});
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
    if (options.action == ProgramAction::Configure) return configure();
    setSettingOverrides(options.overrides);
    Display* display = openDisplay();
    if (!display) return kBadInputExitCode;
    return runSaverWindow(display, options);
}
