// The WebGL context every browser surface of the scene draws on (the page, and the test probes that
// must draw as it does): opaque WebGL 1 with a depth buffer and no multisampling. Browser only.
#pragma once

#include <emscripten/html5.h>

enum class SceneContextResult { Made, NotCreated, NotCurrent };

// Creates the context on the canvas (a CSS selector) and makes it current; *context holds it when
// it was created, whether or not it could be made current.
SceneContextResult makeSceneContext(const char* canvasSelector,
                                    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE* context);
