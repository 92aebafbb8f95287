// Placeholder entry: the scene on the page's canvas, one frame per animation frame.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "scene/scene_host.h"
#include "scene/web/scene_surface.h"

bool hostIsPreview() { return false; }

static EM_BOOL onAnimationFrame(double, void*) {
    drawSceneFrame();
    return EM_TRUE;
}

int main() {
    double width = 0, height = 0;
    emscripten_get_element_css_size("#canvas", &width, &height);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int w = static_cast<int>(width * ratio), h = static_cast<int>(height * ratio);
    emscripten_set_canvas_element_size("#canvas", w, h);
    if (!createScene("#canvas", w, h)) return 0;
    emscripten_request_animation_frame_loop(onAnimationFrame, nullptr);
    return 0;
}
