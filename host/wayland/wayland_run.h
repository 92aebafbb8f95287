// The Wayland run: the connection to the compositor, the surfaces that cover every monitor (or a
// window of its own), the loop that waits on the connection and the signals until a monitor's next
// frame is due, and the rules that end the run. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/wayland_run.h belongs to the Wayland host"
#endif

#include "host/program_options.h"

// True when the compositor that $WAYLAND_DISPLAY names answers.
bool waylandReachable();

// Runs the scene as the options say, to its end; returns the exit code: 0, also when another
// full-screen saver already runs on the display; 1 when there is no compositor or it goes away,
// when it lacks what the target needs, or when no monitor can be drawn on.
int runWaylandSaver(const ProgramOptions& options);
