// The message for a display that cannot be opened: the X11 saver's names the display that $DISPLAY
// names, or says that it is not set; the settings dialog's names both kinds of display it may open.
#include "host/unix/display_report.h"

#include <cstdio>
#include <cstdlib>

// The variable's value, or null when it is unset or empty (which no library takes for a name).
static const char* displayNamed(const char* variable) {
    const char* name = std::getenv(variable);
    return name && *name ? name : nullptr;
}

void reportNoDisplay() {
    const char* name = displayNamed("DISPLAY");
    if (!name) {
        std::fprintf(stderr, "skyfold: cannot open a display: DISPLAY is not set\n");
    } else {
        std::fprintf(stderr, "skyfold: cannot open display '%s'\n", name);
    }
}

void reportNoDialogDisplay() {
    const char* compositor = displayNamed("WAYLAND_DISPLAY");
    const char* x11 = displayNamed("DISPLAY");
    if (!compositor && !x11) {
        std::fputs("skyfold: cannot open a display: neither WAYLAND_DISPLAY nor DISPLAY is set\n",
                   stderr);
    } else if (!compositor) {
        reportNoDisplay();
    } else if (!x11) {
        std::fprintf(stderr, "skyfold: cannot open Wayland display '%s'\n", compositor);
    } else {
        std::fprintf(stderr, "skyfold: cannot open Wayland display '%s', nor display '%s'\n",
                     compositor, x11);
    }
}
