// Reading the screen's monitors. RandR's CRTCs are not enough: one output may show two monitors
// (a wide display split in two, or a server of one framebuffer such as Xvfb), which only RandR
// 1.5's monitor list and Xinerama describe.
#include "scene/x11/screen_monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

static const int kRandrMajor = 1, kRandrMinorWithMonitors = 5;

static bool hasRandrMonitors(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return false;
    if (!XRRQueryVersion(display, &major, &minor)) return false;
    return major > kRandrMajor || (major == kRandrMajor && minor >= kRandrMinorWithMonitors);
}

static int randrMonitors(Display* display, int screen, PixelRect* monitors, int most) {
    int count = 0;
    XRRMonitorInfo* listed = XRRGetMonitors(display, RootWindow(display, screen), True, &count);
    if (!listed) return 0;
    int kept = 0;
    for (int i = 0; i < count && kept < most; ++i) {
        monitors[kept++] = PixelRect{listed[i].x, listed[i].y, listed[i].width, listed[i].height};
    }
    XRRFreeMonitors(listed);
    return kept;
}

static int xineramaHeads(Display* display, PixelRect* monitors, int most) {
    int eventBase = 0, errorBase = 0;
    if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) {
        return 0;
    }
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
    if (!heads) return 0;
    int kept = 0;
    for (int i = 0; i < count && kept < most; ++i) {
        monitors[kept++] = PixelRect{heads[i].x_org, heads[i].y_org, heads[i].width,
                                     heads[i].height};
    }
    XFree(heads);
    return kept;
}

int findScreenMonitors(Display* display, int screen, PixelRect* monitors, int most) {
    if (hasRandrMonitors(display)) {
        const int count = randrMonitors(display, screen, monitors, most);
        if (count > 0) return count;
    }
    return xineramaHeads(display, monitors, most);
}
