// The message for a display that cannot be opened, the same for the saver and its settings
// dialog: the display that $DISPLAY names, or that it is not set.
#include "host/x11/display_report.h"

#include <cstdio>
#include <cstdlib>

void reportNoDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "skyfold: cannot open a display: DISPLAY is not set\n");
    } else {
        std::fprintf(stderr, "skyfold: cannot open display '%s'\n", name);
    }
}
