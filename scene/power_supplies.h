// Whether the machine runs on battery, from the power supplies the system lists (on Linux the
// folders of /sys/class/power_supply): their type, whether each is online, present, and whether it
// powers the system or a device such as a mouse. Platform-free: the platform reads the files.
#pragma once

#include <cstddef>

// One supply as the system describes it, in the system's own words: type "Mains", "Battery",
// "USB", ...; online and present "1" or "0"; scope "System", "Device" or empty. Missing fields
// are empty.
struct PowerSupply {
    const char* type;
    const char* online;
    const char* present;
    const char* scope;
};

// True when a system battery is present and no other supply is online. A machine with no
// battery at all (a desktop, a virtual machine) runs on mains, whatever else it lists.
bool runsOnBattery(const PowerSupply* supplies, size_t count);
