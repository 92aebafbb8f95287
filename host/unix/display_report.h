// The one line the Linux programs print when they cannot open a display: the X11 saver's, and the
// settings dialog's, which opens Wayland's or X11's. Not for Windows.
#pragma once
#ifdef _WIN32
#error "host/unix/display_report.h belongs to the Linux host"
#endif

// Names the display that $DISPLAY asks for, or says that it is not set.
void reportNoDisplay();

// The same for the settings dialog: names the compositor in $WAYLAND_DISPLAY and the X display in
// $DISPLAY that it could not open, or says that neither is set.
void reportNoDialogDisplay();
