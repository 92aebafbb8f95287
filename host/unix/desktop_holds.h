// The holds that a desktop keeps when it owns org.freedesktop.ScreenSaver's requests: each keeper
// asked once when it comes and again at each of its change signals. Linux only.
#pragma once
#ifdef _WIN32
#error "host/unix/desktop_holds.h belongs to the Linux host"
#endif

#include <gio/gio.h>

#include "host/idle_sources.h"

enum class HoldKeeper {
    SessionManager,  // org.gnome.SessionManager (GNOME, MATE, Cinnamon): IsInhibited(idle)
    PlasmaAgent,     // KDE Plasma's PowerDevil: HasInhibition(ChangeScreenSettings)
    PowerManager     // Xfce's power manager: org.freedesktop.PowerManagement.Inhibit's HasInhibit
};
const HoldKeeper kHoldKeepers[] = {HoldKeeper::SessionManager, HoldKeeper::PlasmaAgent,
                                   HoldKeeper::PowerManager};

// The keeper's bus name.
const char* holdKeeperName(HoldKeeper keeper);

// Follows the keeper's holds from now on, reported as its own InhibitHolder; the first answer
// counts as a first reading.
void followHoldKeeper(GDBusConnection* sessionBus, HoldKeeper keeper, const IdleReports* reports);

// Stops following it (it left the bus): it holds nothing.
void stopFollowingHoldKeeper(HoldKeeper keeper);
