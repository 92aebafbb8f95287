// The scene's one platform include: OpenGL 1.1 and GLU as each platform declares them. Windows'
// GL headers need <windows.h> in front of them; the browser has only WebGL, so there the scene's
// own layer (scene/web/gl11.h) declares them.
#pragma once

#if defined(__EMSCRIPTEN__)
#include "scene/web/gl11.h"
#else
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#endif
