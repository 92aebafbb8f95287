// The globals a Wayland run bound and the way it is to end.
#include "host/wayland/wayland_globals.h"

static struct {
    WaylandGlobals globals;
    WaylandRunEnd end;
} gShared;

WaylandGlobals& waylandGlobals() {
    return gShared.globals;
}

void endWaylandRun() {
    if (gShared.end == WaylandRunEnd::Running) gShared.end = WaylandRunEnd::Ended;
}

void failWaylandRun() {
    gShared.end = WaylandRunEnd::Failed;
}

WaylandRunEnd waylandRunEnd() {
    return gShared.end;
}
