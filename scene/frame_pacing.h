// When the scene's next frame is due. The rate aimed for is the display's refresh rate (60 Hz when
// it cannot be learned), at most 30 on battery and under a ceiling of the user's; whether
// presenting already waits for the display is judged from how long frames take. Platform-free:
// each platform reads its clock, its display and its power state and hands them here.
#pragma once

#include <cstdint>

const double kFallbackRefreshHertz = 60.0;   // a display whose rate is unknown or absurd
const double kHighestRefreshHertz = 1000.0;  // above this a reported rate is taken as wrong
const double kBatteryFramesPerSecond = 30.0;
const int32_t kNoFrameRateCeiling = -1;      // no --max-fps: the display's rate
const int32_t kUnpacedFrameRate = 0;         // --max-fps 0: as fast as the renderer goes

// How a run paces and shows its frames, as its command line asks.
struct SceneFrameOptions {
    int32_t frameRateCeiling;  // frames per second, kNoFrameRateCeiling or kUnpacedFrameRate
    bool showFrameRate;        // the frame rate in the lower left corner
};

struct PacingConditions {
    double refreshHertz;         // the display's, as the platform reports it; 0 when unknown
    bool onBattery;
    int32_t frameRateCeiling;    // frames per second, kNoFrameRateCeiling or kUnpacedFrameRate
    bool swapCanWait;            // the driver took a swap interval of 1
};

// The refresh rate pacing works with: the reported one where it is believable, else 60 Hz.
double usableRefreshHertz(double reportedHertz);

// Frames per second aimed for; 0 when unpaced.
double targetFramesPerSecond(const PacingConditions& conditions);

// Starts pacing at nowSeconds (any monotonic clock, in seconds): the first frame is due at once.
void startFramePacing(const PacingConditions& conditions, double nowSeconds);

// The power state changed during the run.
void setPacingOnBattery(bool onBattery);

// Seconds until the next frame is due; 0 when it is due now, and always 0 when unpaced.
double secondsUntilNextFrame(double nowSeconds);

// The pump calls these around every frame it draws: when it starts drawing and when the frame
// has been presented.
void frameBegins(double nowSeconds);
void framePresented(double nowSeconds);

// Frames presented since pacing started; benchmarks read it.
long framesPresentedSinceStart();

// True once frame times show that presenting waits for the display, so the pump need not.
bool swapWaitsForDisplay();

// Pacing of a surface whose frames the display offers, one per refresh at most (a Wayland
// surface's frame callback): every offered frame is drawn while the target rate reaches the
// display's; under it (battery, the user's ceiling) an offered frame waits until it is due on a grid
// of the target rate, so that the others are passed over. Each surface keeps one of these.
struct OfferedFramePacing {
    double nextDueSeconds;  // 0 before the first frame: due at once
};

// Seconds an offered frame waits before it is drawn; 0 to draw it now.
double secondsUntilOfferedFrame(const OfferedFramePacing& pacing, double targetFps,
                                double refreshHertz, double nowSeconds);

// The surface drew a frame at nowSeconds.
void offeredFrameDrawn(OfferedFramePacing* pacing, double targetFps, double nowSeconds);
