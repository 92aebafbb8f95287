// The OpenGL 1.1 and GLU calls that the scene makes, for the browser, which has only WebGL: this
// layer keeps the fixed-function state itself (matrix stacks, display lists, light, fog, colour
// material) and draws through scene/web/webgl_backend.cpp. It implements exactly what is listed
// below, by the OpenGL 1.1 rules; any other call, enum value or use is a programming error that
// stops the program (gl11Misuse), never a silent no-op.
//
// Implemented:
//   glEnable/glDisable      GL_DEPTH_TEST GL_CULL_FACE GL_BLEND GL_TEXTURE_2D GL_LIGHTING
//                           GL_LIGHT0 GL_COLOR_MATERIAL GL_FOG GL_NORMALIZE
//   glNewList (GL_COMPILE), glEndList, glCallList, glDeleteLists
//   glBegin (GL_TRIANGLE_STRIP, inside a list only), glEnd, glVertex3f, glNormal3f, glTexCoord2f
//                           (0 to 1): every vertex takes the normal and texture coordinate last
//                           given in its own list; the colour of a vertex is the current colour
//                           when drawn
//   glMatrixMode (GL_MODELVIEW, GL_PROJECTION), glLoadIdentity, glPushMatrix, glPopMatrix,
//   glTranslatef, glRotatef, glOrtho, gluPerspective: no scaling, so the model-view matrix stays
//                           rigid and transforms normals as its own inverse transpose
//   glViewport, glClear (colour and depth), glClearColor, glClearDepth, glDepthFunc, glCullFace,
//   glBlendFunc, glShadeModel (GL_SMOOTH), glHint (accepted; hints may be ignored)
//   glColor4f, glMaterialfv (GL_EMISSION of GL_FRONT or GL_FRONT_AND_BACK; every other material
//                           property keeps its default, so the specular term is zero),
//   glColorMaterial (GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE),
//   glLightfv (GL_LIGHT0: GL_AMBIENT GL_DIFFUSE GL_SPECULAR GL_POSITION), one-sided, infinite viewer
//   glFogi (GL_FOG_MODE GL_LINEAR), glFogf (GL_FOG_START GL_FOG_END GL_FOG_DENSITY), glFogfv
//                           (GL_FOG_COLOR): linear fog by the eye's distance along -z
//   glGenTextures, glDeleteTextures, glBindTexture, glPixelStorei (GL_UNPACK_ALIGNMENT),
//   glTexParameteri (wrap GL_CLAMP, filters GL_LINEAR or GL_NEAREST), glTexImage2D (level 0,
//                           GL_RGBA of GL_UNSIGNED_BYTE, no border), texture environment
//                           GL_MODULATE (the default, and the only one); pictures with both wraps
//                           and both filters given share one texture atlas under the layer, which
//                           draws them exactly as textures of their own
// and, beyond OpenGL, gl11RestoreContext for a WebGL context that the browser lost and gave back.
// No glFlush or glFinish: the browser flushes each frame, and in Chromium the backend flushes along
// the way in frames of thousands of draws (scene/web/webgl_backend.cpp).
#pragma once

#include <cstdint>

typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef unsigned int GLuint;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;
typedef double GLdouble;
typedef double GLclampd;
typedef float GLclampf;
typedef unsigned char GLboolean;
typedef void GLvoid;

#define GL_FALSE 0
#define GL_TRUE 1
#define GL_ZERO 0
#define GL_ONE 1
#define GL_TRIANGLE_STRIP 0x0005
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_LESS 0x0201
#define GL_LEQUAL 0x0203
#define GL_SRC_ALPHA 0x0302
#define GL_ONE_MINUS_SRC_ALPHA 0x0303
#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_FRONT_AND_BACK 0x0408
#define GL_EXP 0x0800
#define GL_CULL_FACE 0x0B44
#define GL_LIGHTING 0x0B50
#define GL_COLOR_MATERIAL 0x0B57
#define GL_FOG 0x0B60
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_DEPTH_TEST 0x0B71
#define GL_NORMALIZE 0x0BA1
#define GL_BLEND 0x0BE2
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_FOG_HINT 0x0C54
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_TEXTURE_2D 0x0DE1
#define GL_DONT_CARE 0x1100
#define GL_FASTEST 0x1101
#define GL_NICEST 0x1102
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_COMPILE 0x1300
#define GL_COMPILE_AND_EXECUTE 0x1301
#define GL_UNSIGNED_BYTE 0x1401
#define GL_EMISSION 0x1600
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_RGBA 0x1908
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_CLAMP 0x2900
#define GL_REPEAT 0x2901
#define GL_LIGHT0 0x4000

namespace gl11 {

void glEnable(GLenum cap);
void glDisable(GLenum cap);

void glNewList(GLuint list, GLenum mode);
void glEndList();
void glCallList(GLuint list);
void glDeleteLists(GLuint list, GLsizei range);

void glBegin(GLenum mode);
void glEnd();
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void glTexCoord2f(GLfloat s, GLfloat t);

void glMatrixMode(GLenum mode);
void glLoadIdentity();
void glPushMatrix();
void glPopMatrix();
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glRotatef(GLfloat angleDegrees, GLfloat x, GLfloat y, GLfloat z);
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar);
void gluPerspective(GLdouble fovyDegrees, GLdouble aspect, GLdouble zNear, GLdouble zFar);

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void glClear(GLbitfield mask);
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void glClearDepth(GLclampd depth);
void glDepthFunc(GLenum func);
void glCullFace(GLenum mode);
void glBlendFunc(GLenum sfactor, GLenum dfactor);
void glShadeModel(GLenum mode);
void glHint(GLenum target, GLenum mode);

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void glColorMaterial(GLenum face, GLenum mode);
void glLightfv(GLenum light, GLenum pname, const GLfloat* params);
void glFogi(GLenum pname, GLint param);
void glFogf(GLenum pname, GLfloat param);
void glFogfv(GLenum pname, const GLfloat* params);

void glGenTextures(GLsizei n, GLuint* textures);
void glDeleteTextures(GLsizei n, const GLuint* textures);
void glBindTexture(GLenum target, GLuint texture);
void glPixelStorei(GLenum pname, GLint param);
void glTexParameteri(GLenum target, GLenum pname, GLint param);
void glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels);

}  // namespace gl11

// The context under the layer was lost and has come back empty: the atlas and every other texture
// are made again from the parameters and pixels last given (each under the same name), the vertex
// store is uploaded before the next draw and the programs are made as draws need them. The layer's own state (lists,
// matrices, light, fog) never lived in the context and goes on as it was.
void gl11RestoreContext();

#ifndef SKYFOLD_GL11_IMPLEMENTATION
using namespace gl11;
#endif
