// The run state both Linux window systems share: the signal flag and the preview flag.
#include "host/unix/saver_run.h"

#include <csignal>

static struct {
    volatile std::sig_atomic_t signalled;  // SIGTERM, SIGINT or SIGHUP came
    bool isPreview;
} gRun;

static const int32_t kNarrowestBannerViewPixels = 640;  // narrower is a preview pane: no banner
static const int kRunSignals[] = {SIGTERM, SIGINT, SIGHUP};

bool hostIsPreview() {
    return gRun.isPreview;
}

static void onSignal(int) {
    gRun.signalled = 1;
}

void installRunSignals() {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : kRunSignals) sigaction(signalNumber, &action, nullptr);
}

void blockRunSignals(sigset_t* waitMask) {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signalNumber : kRunSignals) sigaddset(&blocked, signalNumber);
    sigprocmask(SIG_BLOCK, &blocked, waitMask);
    for (int signalNumber : kRunSignals) sigdelset(waitMask, signalNumber);
}

bool runSignalled() {
    return gRun.signalled != 0;
}

void setRunIsPreview(bool isPreview) {
    gRun.isPreview = isPreview;
}

bool viewIsPreviewPane(int32_t widthPixels) {
    return widthPixels < kNarrowestBannerViewPixels;
}
