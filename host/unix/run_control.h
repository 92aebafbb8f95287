// What a Linux run shares whichever window system draws it: the signals that end it (SIGTERM,
// SIGINT and SIGHUP), the input that ends it or is handed to the idle watcher, whether it is a
// preview, which the scene asks through hostIsPreview, the frame options its command line gives,
// and the names its windows carry.
#pragma once
#ifdef _WIN32
#error "host/unix/run_control.h belongs to the Linux host"
#endif

#include <signal.h>

#include <cstdint>

#include "host/program_options.h"
#include "scene/frame_pacing.h"  // SceneFrameOptions
#include "scene/scene_host.h"    // hostIsPreview, implemented here for both window systems

const char kWindowTitle[] = "Skyfold";
const char kApplicationId[] = "skyfold";  // Wayland's app id, X11's instance name

// Handlers that note the signal; without SA_RESTART, so a signal also cuts a wait short. A SIGHUP
// that is ignored (nohup) stays ignored.
void installRunSignals();

// True while SIGHUP is ignored.
bool hangUpIgnored();

// With --hand-input the idle watcher hears the input that would end a full-screen run.
void handRunInputToWatcher(bool handInput);

// Input that ends a full-screen run came: true when it ends the run. Where the watcher runs it,
// the input is told once on standard output instead, and the run goes on until the watcher ends it.
bool inputEndsRun();

// Blocks the three signals, so that they arrive only inside a wait that unblocks them (ppoll with
// *waitMask): a signal can then never slip in between a check and the wait.
void blockRunSignals(sigset_t* waitMask);

// True once one of the three signals came, also while it waits blocked.
bool runSignalled();

// The first view's width decides, before the scene is created: a view narrower than a preview
// pane's limit (xscreensaver's settings) is a preview, which shows no banner. Later calls change
// nothing.
void settleRunIsPreview(int32_t firstViewWidthPixels);

// The frame rate ceiling and the frame-rate display that the options ask for.
SceneFrameOptions sceneFrameOptions(const ProgramOptions& options);
