// Reading the power state from the supplies' own descriptions. A battery that reports itself
// absent, or one whose scope is a device (wireless mice and keyboards list theirs), says nothing
// about the machine.
#include "scene/power_supplies.h"

#include <cstring>

static bool is(const char* field, const char* word) {
    return field && std::strcmp(field, word) == 0;
}

static bool isSystemBattery(const PowerSupply& supply) {
    return is(supply.type, "Battery") && !is(supply.present, "0") && !is(supply.scope, "Device");
}

// Mains, a USB-C charger, a dock: anything but a battery that is online powers the machine.
static bool isExternalPowerOnline(const PowerSupply& supply) {
    return !is(supply.type, "Battery") && is(supply.online, "1");
}

bool runsOnBattery(const PowerSupply* supplies, size_t count) {
    bool battery = false;
    for (size_t i = 0; i < count; ++i) {
        if (isExternalPowerOnline(supplies[i])) return false;
        battery = battery || isSystemBattery(supplies[i]);
    }
    return battery;
}
