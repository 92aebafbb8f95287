// What the watcher's sources tell it, one set of callbacks for all of them: the idle sources
// (ext-idle-notify-v1 and org_kde_kwin_idle on Wayland, the X server's counters, GNOME's idle
// monitor), the holds that the desktop and logind keep, and the signs of the session's lock. Each
// source runs on the watcher's main loop and sleeps on its connection.
#pragma once

#include <cstdint>

#include "host/idle_rules.h"  // InhibitHolder, LockSign

struct IdleReports {
    void (*idled)();                                  // the timeout passed without input
    void (*resumed)();                                // input came after idled
    void (*gone)(const char* what);                   // the watcher's own connection went away:
                                                      // "the X server went away"
    void (*inhibits)(InhibitHolder holder, bool holds);  // a holder started or stopped holding
    void (*lockSign)(LockSign sign, bool on);          // the session locked or unlocked, blanked
    void (*sleepComing)();                             // the machine is about to sleep
    // A service that the watcher follows went away (back false) or came back after that: GNOME's
    // idle monitor, a desktop's keeper of requests, logind.
    void (*serviceMoved)(const char* what, bool back);
    // A first reading (of a hold, a name's owner or a lock sign) was asked, and later came or
    // failed: the watcher acts on an idle session only once every first reading is in.
    void (*readAsked)();
    void (*readDone)();
};

const uint32_t kMillisecondsPerSecond = 1000;
