// The one line both X11 programs print when they cannot open a display. X11 only.
#pragma once
#ifdef _WIN32
#error "host/x11/display_report.h belongs to the X11 host"
#endif

// Names the display that $DISPLAY asks for, or says that it is not set.
void reportNoDisplay();
