// The frame pump's pacing rule. Frames are due on a grid of one period each, so one late frame
// does not shift the rate; a frame more than a whole period late starts the grid afresh instead
// of drawing a burst to catch up. Where presenting waits for the display (judged every few dozen
// frames), the grid runs a little faster than the display, only as a safety net, so that it
// never makes a frame miss its refresh.
#include "scene/frame_pacing.h"

static struct {
    PacingConditions conditions;
    double nextDueSeconds;
    double frameBeganSeconds;
    int judgedFrames;          // frames in the present judgement window
    int longFrames;            // of those, frames that took most of a refresh period
    bool swapWaits;
    long framesPresented;
} gPacing;

static const double kWaitingShareOfRefresh = 0.85;  // a frame this long waited for the display
static const int kFramesPerJudgement = 30;
static const double kSafetyNetShareOfPeriod = 0.95; // the grid's period while the swap paces
// An offered frame this close to its due time (a share of the refresh period) is drawn: the next
// offer would come a whole refresh later, and callbacks arrive with some jitter.
static const double kOfferEarlinessShareOfRefresh = 0.5;

double usableRefreshHertz(double reportedHertz) {
    // Written so that NaN fails it too.
    const bool believable = reportedHertz >= 1.0 && reportedHertz <= kHighestRefreshHertz;
    return believable ? reportedHertz : kFallbackRefreshHertz;
}

double targetFramesPerSecond(const PacingConditions& conditions) {
    if (conditions.frameRateCeiling == kUnpacedFrameRate) return 0.0;
    double rate = usableRefreshHertz(conditions.refreshHertz);
    if (conditions.onBattery && rate > kBatteryFramesPerSecond) rate = kBatteryFramesPerSecond;
    if (conditions.frameRateCeiling > 0 && rate > conditions.frameRateCeiling) {
        rate = conditions.frameRateCeiling;
    }
    return rate;
}

// Seconds between two due times; 0 when unpaced.
static double gridPeriodSeconds() {
    const double rate = targetFramesPerSecond(gPacing.conditions);
    if (rate <= 0.0) return 0.0;
    const bool displayPaces =
        gPacing.swapWaits && rate >= usableRefreshHertz(gPacing.conditions.refreshHertz);
    return (displayPaces ? kSafetyNetShareOfPeriod : 1.0) / rate;
}

void startFramePacing(const PacingConditions& conditions, double nowSeconds) {
    gPacing = {};
    gPacing.conditions = conditions;
    gPacing.nextDueSeconds = nowSeconds;
}

void setPacingOnBattery(bool onBattery) {
    gPacing.conditions.onBattery = onBattery;
}

double secondsUntilNextFrame(double nowSeconds) {
    if (gridPeriodSeconds() <= 0.0 || nowSeconds >= gPacing.nextDueSeconds) return 0.0;
    return gPacing.nextDueSeconds - nowSeconds;
}

void frameBegins(double nowSeconds) {
    gPacing.frameBeganSeconds = nowSeconds;
    const double period = gridPeriodSeconds();
    const bool fellBehind = nowSeconds - gPacing.nextDueSeconds > period;
    gPacing.nextDueSeconds = (fellBehind ? nowSeconds : gPacing.nextDueSeconds) + period;
}

// A frame that took most of a refresh period from its start to its presentation waited for the
// display, unless the renderer is merely that slow; the safety net covers that case.
static void judgeFrame(double frameSeconds) {
    const double refreshPeriod = 1.0 / usableRefreshHertz(gPacing.conditions.refreshHertz);
    if (frameSeconds >= kWaitingShareOfRefresh * refreshPeriod) ++gPacing.longFrames;
    if (++gPacing.judgedFrames < kFramesPerJudgement) return;
    const bool mostWereLong = 2 * gPacing.longFrames > kFramesPerJudgement;
    gPacing.swapWaits = gPacing.conditions.swapCanWait && mostWereLong;
    gPacing.judgedFrames = 0;
    gPacing.longFrames = 0;
}

void framePresented(double nowSeconds) {
    ++gPacing.framesPresented;
    judgeFrame(nowSeconds - gPacing.frameBeganSeconds);
}

long framesPresentedSinceStart() {
    return gPacing.framesPresented;
}

bool swapWaitsForDisplay() {
    return gPacing.swapWaits;
}

// True when every frame the display offers is to be drawn: unpaced, or aiming at its full rate.
static bool drawsEveryOffer(double targetFps, double refreshHertz) {
    return targetFps <= 0.0 || targetFps >= usableRefreshHertz(refreshHertz);
}

double secondsUntilOfferedFrame(const OfferedFramePacing& pacing, double targetFps,
                                double refreshHertz, double nowSeconds) {
    if (drawsEveryOffer(targetFps, refreshHertz)) return 0.0;
    const double early = kOfferEarlinessShareOfRefresh / usableRefreshHertz(refreshHertz);
    const double wait = pacing.nextDueSeconds - nowSeconds;
    return wait > early ? wait : 0.0;
}

void offeredFrameDrawn(OfferedFramePacing* pacing, double targetFps, double nowSeconds) {
    if (targetFps <= 0.0) return;
    const double period = 1.0 / targetFps;
    const bool fellBehind = nowSeconds - pacing->nextDueSeconds > period;
    const double from = fellBehind || pacing->nextDueSeconds == 0.0 ? nowSeconds
                                                                     : pacing->nextDueSeconds;
    pacing->nextDueSeconds = from + period;
}
