// Reading the display's refresh rate on X11. It comes from the CRTC that shows the window's centre
// (RandR 1.3), since monitors side by side may run at different rates; servers without it give
// the screen's nominal rate.
#include "scene/x11/pacing_sources.h"

#include <X11/extensions/Xrandr.h>

static const int kRandrMajor = 1, kRandrMinorWithCurrentResources = 3;

// ---- refresh rate ------------------------------------------------------------------------------

static double modeHertz(const XRRModeInfo& mode) {
    if (mode.hTotal == 0 || mode.vTotal == 0) return 0.0;
    const double dotsPerFrame = static_cast<double>(mode.hTotal) * mode.vTotal;
    double hertz = static_cast<double>(mode.dotClock) / dotsPerFrame;
    if (mode.modeFlags & RR_DoubleScan) hertz /= 2.0;
    if (mode.modeFlags & RR_Interlace) hertz *= 2.0;
    return hertz;
}

static double crtcModeHertz(const XRRScreenResources* resources, RRMode id) {
    for (int i = 0; i < resources->nmode; ++i) {
        if (resources->modes[i].id == id) return modeHertz(resources->modes[i]);
    }
    return 0.0;
}

static bool contains(const XRRCrtcInfo* crtc, int x, int y) {
    return x >= crtc->x && y >= crtc->y && x < crtc->x + static_cast<int>(crtc->width) &&
           y < crtc->y + static_cast<int>(crtc->height);
}

// The rate of the active CRTC under (x, y) in root coordinates, else of the first active one.
static double crtcHertzAt(Display* display, Window root, int x, int y) {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return 0.0;
    double first = 0.0, under = 0.0;
    for (int i = 0; i < resources->ncrtc && under == 0.0; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (!crtc) continue;
        if (crtc->mode != None) {
            const double hertz = crtcModeHertz(resources, crtc->mode);
            if (first == 0.0) first = hertz;
            if (contains(crtc, x, y)) under = hertz;
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return under != 0.0 ? under : first;
}

static double screenNominalHertz(Display* display, Window root) {
    XRRScreenConfiguration* configuration = XRRGetScreenInfo(display, root);
    if (!configuration) return 0.0;
    const double hertz = XRRConfigCurrentRate(configuration);
    XRRFreeScreenConfigInfo(configuration);
    return hertz;
}

double displayRefreshHertz(Display* display, Window window) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor)) {
        return 0.0;
    }
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 0.0;
    const Window root = attributes.root;
    if (major == kRandrMajor && minor < kRandrMinorWithCurrentResources) {
        return screenNominalHertz(display, root);
    }
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, root, attributes.width / 2, attributes.height / 2, &x,
                          &y, &child);
    return crtcHertzAt(display, root, x, y);
}
