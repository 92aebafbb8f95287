// The settings dialog of the Linux build (skyfold --config), in GTK 3: the Windows dialog's face,
// controls and rules in a borderless window of its own, on Wayland or X11. Not for Windows.
#pragma once
#ifdef _WIN32
#error "settings/unix/config_dialog.h belongs to the Linux build"
#endif

#include <cstdint>

struct DialogFace {
    const uint8_t* rgba;  // width x height texels, top row first; lives while the dialog runs
    int32_t width, height;
};

// Connects the toolkit to the Wayland compositor that $WAYLAND_DISPLAY names, or else to the X
// display; false when neither can be opened.
bool openConfigDialogDisplay();

// After openConfigDialogDisplay: loads the settings and shows the dialog until OK, Cancel, Escape
// or Enter ends it. Returns the exit status: 0, or 1 when OK could not save the settings.
int runConfigDialog(const DialogFace& face);
