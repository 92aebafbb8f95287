// The X11 half of the same-frame test: the scene's fixed frame (tests/web/frame_probe_steps) drawn
// with GLX on an 800x450 window of the scene's own visual, read back from the back buffer and
// written as a binary PPM, top row first.
//   x11_frame_probe <out.ppm> [seed]
#include <X11/Xlib.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "scene/gl_api.h"
#include "scene/x11/scene_surface.h"
#include "tests/web/frame_probe_steps.h"

static bool makeProbeContext(Display* display) {
    const int screen = DefaultScreen(display);
    XVisualInfo* visual = chooseSceneVisual(display, screen);
    if (!visual) return false;
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.override_redirect = True;
    const Window window = XCreateWindow(display, root, 0, 0, kProbeWidthPixels, kProbeHeightPixels,
                                        0, visual->depth, InputOutput, visual->visual,
                                        CWColormap | CWOverrideRedirect, &attributes);
    XMapRaised(display, window);
    GLXContext context = glXCreateContext(display, visual, NULL, True);
    XFree(visual);
    return context && glXMakeCurrent(display, window, context);
}

static bool writePpm(const char* path, const std::vector<unsigned char>& rgba) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", kProbeWidthPixels, kProbeHeightPixels);
    for (int row = kProbeHeightPixels - 1; row >= 0; --row) {  // GL's rows run bottom up
        for (int column = 0; column < kProbeWidthPixels; ++column) {
            std::fwrite(&rgba[(row * kProbeWidthPixels + column) * 4], 1, 3, file);
        }
    }
    return std::fclose(file) == 0;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: x11_frame_probe <out.ppm> [seed]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display || !makeProbeContext(display)) {
        std::fprintf(stderr, "x11_frame_probe: no GLX context on the display\n");
        return 1;
    }
    drawProbeFrames(argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : kProbeSeed);
    std::vector<unsigned char> rgba(kProbeWidthPixels * kProbeHeightPixels * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kProbeWidthPixels, kProbeHeightPixels, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return writePpm(argv[1], rgba) ? 0 : 1;
}
