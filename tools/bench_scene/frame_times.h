// What the two frame-time benchmarks (Wine and native) share: counting the warm-up and measured
// frames, the process's CPU time (and, where the platform counts them, its minor page faults) over
// the measured ones, the first frame's time from process start, and the one JSON line a run
// prints, with the size the frames were drawn at. Each platform reads its own clocks.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

typedef double (*SecondsReading)();
typedef long (*CountReading)();

struct FrameTimes {
    long warmUp = 0, measured = 0;  // frames
    double warmUpSeconds = 0;       // when given, the warm-up lasts this long instead (its frames
                                    // are counted into warmUp when it ends)
    long frames = 0;                // presented so far
    double lastPresentSeconds = 0, firstFrameSeconds = 0, cpuSecondsAtStart = 0;
    double firstPresentSeconds = 0;
    long faultsAtStart = 0;
    std::vector<double> milliseconds;  // measured frames only

    bool warmingUp() const { return warmUpSeconds > 0 && warmUp == 0; }

    bool done() const { return !warmingUp() && frames > warmUp + measured; }

    // After every presented frame, with the monotonic time; the other readings are taken only
    // at the first frame and at the end of the warm-up. minorFaults may be null.
    void presented(double nowSeconds, SecondsReading processAge, SecondsReading cpuSeconds,
                   CountReading minorFaults = nullptr) {
        if (frames == 0) {
            firstFrameSeconds = processAge();
            firstPresentSeconds = nowSeconds;
        }
        if (warmingUp() && frames > 0 && nowSeconds - firstPresentSeconds >= warmUpSeconds) {
            warmUp = frames;  // the last frame of the warm-up
        }
        if (!warmingUp()) {
            if (frames == warmUp) {
                cpuSecondsAtStart = cpuSeconds();
                if (minorFaults) faultsAtStart = minorFaults();
            }
            if (frames > warmUp) milliseconds.push_back(1000.0 * (nowSeconds - lastPresentSeconds));
        }
        lastPresentSeconds = nowSeconds;
        ++frames;
    }
};

// What a run measures, from "scene <notes> <currency> <warm-up> <frames>" or "bare <warm-up>
// <frames>"; notes and currency stay null for the bare window. A warm-up such as "15s" is in
// seconds (the scene's notes start above the view and take that long to fill it), otherwise in
// frames. False, after the usage, otherwise.
struct BenchArguments {
    const char* notes = nullptr;
    const char* currency = nullptr;
};

inline bool readBenchArguments(int argc, char** argv, FrameTimes* times, BenchArguments* run) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    if ((bare && argc != 4) || (!bare && (argc != 6 || std::strcmp(argv[1], "scene") != 0))) {
        std::fprintf(stderr, "usage: %s scene <notes> <currency> <warm-up> <frames>\n"
                             "       %s bare <warm-up> <frames>\n", argv[0], argv[0]);
        return false;
    }
    const int first = bare ? 2 : 4;
    if (std::strchr(argv[first], 's')) {
        times->warmUpSeconds = std::atof(argv[first]);
    } else {
        times->warmUp = std::atol(argv[first]);
    }
    times->measured = std::atol(argv[first + 1]);
    if (!bare) *run = BenchArguments{argv[2], argv[3]};
    return true;
}

inline double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1) + 0.5)];
}

// notes and currency as the command line gave them (null for the bare window); width and height
// as drawn (the GL viewport); faultsAtEnd negative where the platform counts none; extraFields
// written as they are before the closing brace (", \"name\": value" each).
inline void printRun(const char* platform, const char* notes, const char* currency, int width,
                     int height, const FrameTimes& times, double cpuSecondsAtEnd,
                     long faultsAtEnd = -1, const char* extraFields = "") {
    double total = 0;
    for (double ms : times.milliseconds) total += ms;
    const double frames = static_cast<double>(times.milliseconds.size());
    char faults[64] = "";
    if (faultsAtEnd >= 0) {
        std::snprintf(faults, sizeof faults, ", \"faults_per_frame\": %.1f",
                      static_cast<double>(faultsAtEnd - times.faultsAtStart) / frames);
    }
    std::printf("{\"platform\": \"%s\", \"mode\": \"%s\", \"notes\": %s, \"currency\": %s, "
                "\"width\": %d, \"height\": %d, \"frames\": %zu, \"fps\": %.2f, "
                "\"ms_median\": %.3f, \"ms_p99\": %.3f, \"cpu_seconds_per_frame\": %.5f, "
                "\"first_frame_ms\": %.1f%s%s}\n",
                platform, notes ? "scene" : "bare", notes ? notes : "0",
                currency ? currency : "null", width, height, times.milliseconds.size(),
                1000.0 * frames / total, percentile(times.milliseconds, 0.5),
                percentile(times.milliseconds, 0.99),
                (cpuSecondsAtEnd - times.cpuSecondsAtStart) / frames,
                1000.0 * times.firstFrameSeconds, faults, extraFields);
    std::fflush(stdout);
}
