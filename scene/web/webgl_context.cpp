// The scene's WebGL context: the surface every platform asks for, opaque RGBA with a depth buffer,
// no multisampling, and a buffer that the browser may discard once it has shown it; WebGL 1's core
// only, so no extension is asked for.
#include "scene/web/webgl_context.h"

SceneContextResult makeSceneContext(const char* canvasSelector,
                                    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE* context) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;  // the clear colour's zero alpha must not let the page through
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    // Enabling every extension the browser offers, as Emscripten does by default, asks the GPU
    // process about each one in turn before the first picture: some 40 calls, 13 to 50 ms.
    attributes.enableExtensionsByDefault = EM_FALSE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    *context = emscripten_webgl_create_context(canvasSelector, &attributes);
    if (*context <= 0) return SceneContextResult::NotCreated;
    if (emscripten_webgl_make_context_current(*context) != EMSCRIPTEN_RESULT_SUCCESS) {
        return SceneContextResult::NotCurrent;
    }
    return SceneContextResult::Made;
}
