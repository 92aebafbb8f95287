// What a Linux run shares whichever window system draws it: the signals that end it (SIGTERM,
// SIGINT and SIGHUP), whether it is a preview, which the scene asks through hostIsPreview, and the
// rule that tells a preview pane by its width.
#pragma once
#ifdef _WIN32
#error "host/unix/saver_run.h belongs to the Linux host"
#endif

#include <signal.h>

#include <cstdint>

#include "scene/scene_host.h"  // hostIsPreview, implemented here for both window systems

// Handlers that note the signal; without SA_RESTART, so a signal also cuts a wait short.
void installRunSignals();

// Blocks the three signals, so that they arrive only inside a wait that unblocks them (ppoll with
// *waitMask): a signal can then never slip in between a check and the wait.
void blockRunSignals(sigset_t* waitMask);

// True once one of the three signals came.
bool runSignalled();

// Fixed before the scene is created.
void setRunIsPreview(bool isPreview);

// A view narrower than this is a preview pane (xscreensaver's settings), which shows no banner.
bool viewIsPreviewPane(int32_t widthPixels);
