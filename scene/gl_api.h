// The scene's one platform include: OpenGL 1.1 and GLU as each platform declares them. Windows'
// GL headers need <windows.h> in front of them; everywhere else they stand alone.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
