// The Wayland run: the connection to the compositor, the surfaces that cover every monitor (or a
// window of its own), the loop that waits on the connection and the signals until a monitor's next
// frame is due, and the rules that end the run. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/saver_run.h belongs to the Wayland host"
#endif

#include "host/program_options.h"

// Runs the scene as the options say, to its end; returns the exit code: 0, also when another
// full-screen saver already runs on the display; 1 when there is no compositor or it goes away,
// when it lacks what the target needs, or when the scene cannot make its surface.
int runWaylandSaver(const ProgramOptions& options);

// The surfaces and the input ask for the run to end with 0 once the present step is done.
void endWaylandRun();

// The scene could not make its first surface (reported already): the run ends with 1.
void failWaylandRun();
