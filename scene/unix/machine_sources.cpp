// Reading the power state and the process's CPU clock on Linux, for the pacing and the frame-rate
// display of both window systems.
#include "scene/unix/machine_sources.h"

#include <dirent.h>
#include <time.h>

#include <cstdio>
#include <cstring>

#include "scene/power_supplies.h"

static const char kPowerSupplyFolder[] = "/sys/class/power_supply";
static const int kMostPowerSupplies = 16;
static const int kFieldBytes = 16;
static const int kPathBytes = 512;
static const double kPowerRereadSeconds = 15.0;

// ---- power state -------------------------------------------------------------------------------

struct SupplyFields {
    char type[kFieldBytes], online[kFieldBytes], present[kFieldBytes], scope[kFieldBytes];
};

// The file's first line; empty when it cannot be read.
static void readField(const char* supply, const char* name, char (&field)[kFieldBytes]) {
    char path[kPathBytes];
    field[0] = '\0';
    std::snprintf(path, sizeof path, "%s/%s/%s", kPowerSupplyFolder, supply, name);
    FILE* file = std::fopen(path, "r");
    if (!file) return;
    if (!std::fgets(field, kFieldBytes, file)) field[0] = '\0';
    std::fclose(file);
    field[std::strcspn(field, "\n")] = '\0';
}

bool machineOnBattery() {
    DIR* folder = opendir(kPowerSupplyFolder);
    if (!folder) return false;
    static SupplyFields fields[kMostPowerSupplies];
    PowerSupply supplies[kMostPowerSupplies];
    size_t count = 0;
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.' || count == kMostPowerSupplies) continue;
        SupplyFields& f = fields[count];
        readField(entry->d_name, "type", f.type);
        readField(entry->d_name, "online", f.online);
        readField(entry->d_name, "present", f.present);
        readField(entry->d_name, "scope", f.scope);
        supplies[count++] = PowerSupply{f.type, f.online, f.present, f.scope};
    }
    closedir(folder);
    return runsOnBattery(supplies, count);
}

void startPowerWatch(PowerWatch* watch, bool paced, double nowSeconds) {
    *watch = PowerWatch{paced, paced && machineOnBattery(), nowSeconds};
}

bool powerWatchReread(PowerWatch* watch, double nowSeconds) {
    if (!watch->paced || nowSeconds - watch->readSeconds < kPowerRereadSeconds) return false;
    watch->readSeconds = nowSeconds;
    watch->onBattery = machineOnBattery();
    return true;
}

// ---- CPU time ----------------------------------------------------------------------------------

double processCpuSeconds() {
    timespec used;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}
