// The run state both Linux window systems share: the signal flag, the preview flag, and the input
// that a full-screen run hands to the idle watcher.
#include "host/unix/run_control.h"

#include <unistd.h>

#include <csignal>

static struct {
    volatile std::sig_atomic_t signalled;  // SIGTERM, SIGINT or SIGHUP came
    bool previewSettled;
    bool isPreview;
    bool handsInput;                       // --hand-input
    bool inputHanded;                      // told the watcher already
} gRun;

static const int32_t kNarrowestBannerViewPixels = 640;  // narrower is a preview pane: no banner
static const int kRunSignals[] = {SIGTERM, SIGINT, SIGHUP};

bool hostIsPreview() {
    return gRun.isPreview;
}

static void onSignal(int) {
    gRun.signalled = 1;
}

bool hangUpIgnored() {
    struct sigaction current = {};
    return sigaction(SIGHUP, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void installRunSignals() {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : kRunSignals) {
        if (signalNumber == SIGHUP && hangUpIgnored()) continue;
        sigaction(signalNumber, &action, nullptr);
    }
}

// NOTE: a watcher that went away leaves a closed pipe, whose SIGPIPE would end the run unseen.
void handRunInputToWatcher(bool handInput) {
    gRun.handsInput = handInput;
    if (handInput) signal(SIGPIPE, SIG_IGN);
}

bool inputEndsRun() {
    static const char kInputLine[] = "input\n";
    if (!gRun.handsInput) return true;
    if (!gRun.inputHanded && write(STDOUT_FILENO, kInputLine, sizeof kInputLine - 1) < 0) {
        return true;  // no watcher hears it: the input is the run's again
    }
    gRun.inputHanded = true;
    return false;
}

void blockRunSignals(sigset_t* waitMask) {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signalNumber : kRunSignals) sigaddset(&blocked, signalNumber);
    sigprocmask(SIG_BLOCK, &blocked, waitMask);
    for (int signalNumber : kRunSignals) sigdelset(waitMask, signalNumber);
}

// NOTE: a wait of no time (ppoll with a zero timeout, as a loop that always has a frame due makes)
// returns without delivering a signal that is pending, so a blocked one is looked for too.
bool runSignalled() {
    if (gRun.signalled) return true;
    sigset_t pending;
    if (sigpending(&pending) != 0) return false;
    for (int signalNumber : kRunSignals) {
        if (sigismember(&pending, signalNumber)) gRun.signalled = 1;
    }
    return gRun.signalled != 0;
}

void settleRunIsPreview(int32_t firstViewWidthPixels) {
    if (gRun.previewSettled) return;
    gRun.previewSettled = true;
    gRun.isPreview = firstViewWidthPixels < kNarrowestBannerViewPixels;
}

SceneFrameOptions sceneFrameOptions(const ProgramOptions& options) {
    return {options.maxFps == kNoMaxFps ? kNoFrameRateCeiling : options.maxFps, options.showFps};
}
