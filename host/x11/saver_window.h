// The window an X11 run draws on (its own, the whole screen, or one it is given), the run's event
// loop, and the rules that end it: input in a full-screen run, q or Escape in its own window, a
// signal, or the window going away. X11 only.
#pragma once
#ifdef _WIN32
#error "host/x11/saver_window.h belongs to the X11 host"
#endif

#include "host/program_options.h"

// Opens the display and runs the scene on it as the options say, to its end; returns the exit
// code (0, or 1 when there is no display or window to draw on or the scene cannot make its
// surface).
int runX11Saver(const ProgramOptions& options);
