// What the frame pacing and the frame-rate display read from a Linux machine, whichever window
// system draws: whether it runs on battery (/sys/class/power_supply) and the process's CPU time.
#pragma once
#ifdef _WIN32
#error "scene/unix/machine_sources.h belongs to the Linux scene"
#endif

// True on battery; false on mains, and whenever the supplies cannot be read.
bool machineOnBattery();

// Seconds of CPU time the process has used, all its threads together.
double processCpuSeconds();

// The power state as a paced run follows it: read at the start and again every so often, so that
// a laptop unplugged mid-run slows down soon. An unpaced run never reads it.
struct PowerWatch {
    bool paced;
    bool onBattery;
    double readSeconds;  // frame-clock time of the last reading
};

void startPowerWatch(PowerWatch* watch, bool paced, double nowSeconds);

// Reads the state again once its period is over; true when it did.
bool powerWatchReread(PowerWatch* watch, double nowSeconds);
