// The OpenGL 1.1 layer's state and display lists: matrix stacks, the current colour, light, fog
// and material, the lists recorded as commands (their geometry compiled into one vertex store) and
// replayed in order, and each texture's parameters and pixels as given, from which the backend's
// textures are made before the next draw: clamped, filtered pictures share one atlas (so that
// consecutive draws of different pictures keep one texture), the others get textures of their own.
// A new context gets everything again. Draws and texture calls go to the backend
// (scene/web/gl11_backend.h). Portable C++, so that the native tests check it against the rules.
#define SKYFOLD_GL11_IMPLEMENTATION
#include "scene/web/gl11.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "scene/web/gl11_atlas.h"
#include "scene/web/gl11_backend.h"

namespace {

const int kModelviewDepth = 32;   // the least OpenGL 1.1 allows
const int kProjectionDepth = 2;
const GLuint kMostLists = 64;     // list numbers 1 to 64
const int kMostListNesting = 64;  // glCallList within a list, as deep as OpenGL 1.1's limit
const double kPi = 3.14159265358979323846;

struct Matrix {
    float m[16];  // column-major, as OpenGL keeps it
};

struct Command;
typedef void (*Apply)(const Command& command);

// One recorded call. Matrix operations are kept as the matrix they multiply by.
struct Command {
    Apply apply;
    GLenum a, b;
    GLint i[4];
    float f[16];
};

struct ListState {
    std::vector<Command> commands;
    bool defined;
};

const GLenum kTextureParameters[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MAG_FILTER,
                                     GL_TEXTURE_MIN_FILTER};
const int kWrapS = 0, kWrapT = 1, kMagFilter = 2, kMinFilter = 3;  // their places in that list
const int kTextureParameterCount = 4;
const int32_t kTexelBytes = 4;  // GL_RGBA of GL_UNSIGNED_BYTE
const int32_t kAtlasRowAlignment = 4;  // an atlas's rows are whole texels of 4 bytes

// A texture name of the layer: what was given for it, and where the backend holds it.
struct TextureState {
    bool live;
    GLint parameters[kTextureParameterCount];  // in kTextureParameters' order; 0 where never set
    bool hasImage;
    int32_t width, height, alignment;
    std::vector<uint8_t> pixels;  // the bytes glTexImage2D read; empty for a null image
    // Settled before a draw (settleTextures):
    int atlas = -1;            // the atlas holding it, -1 for a texture of its own
    float rect[4];             // where in that atlas: s and t offsets, then s and t scales
    uint32_t ownTexture;       // the backend's texture of its own, 0 while none is made
    bool ownCurrent;           // that texture holds the parameters and image given
};

// One atlas for each pair of filters (minification, magnification), as a texture has one pair.
const int kAtlasCount = 4;
const float kWholeTexture[4] = {0.0f, 0.0f, 1.0f, 1.0f};

struct AtlasState {
    uint32_t backendTexture;  // 0 while it holds nothing
};

}  // namespace

static struct {
    Matrix modelview[kModelviewDepth];
    int modelviewTop;
    Matrix projection[kProjectionDepth];
    int projectionTop;
    GLenum matrixMode;
    Gl11DrawState draw;
    bool colourMaterial;
    bool lightingSwitch, light0Switch;  // lit only when both are on
    float clearColour[4];
    double clearDepth;
    int32_t unpackAlignment;

    ListState lists[kMostLists + 1];
    GLuint compiling;        // the list being compiled, 0 when none
    bool insideStrip;        // between glBegin and glEnd
    int32_t stripFirst;
    bool listHasNormal, listHasTexCoord;  // given since glNewList
    float listNormal[3], listTexCoord[2];
    std::vector<Gl11Vertex> vertices;
    bool verticesChanged;    // since the backend last had them
    int callDepth;
    GLuint boundTexture;     // the layer's name; the draw state holds the backend's
    std::vector<TextureState> textures;  // name n at n - 1
    AtlasState atlases[kAtlasCount];
    bool texturesChanged;    // since the backend's textures were last settled
    bool atlasesChanged;     // ... in a way that changes an atlas
    bool started;
} gGl;

// How the layer stops on a call it does not implement, and how the backend stops on a failure of
// its own: the call's name (or what failed) and the value it was given on stderr, then abort.
[[noreturn]] static void gl11Misuse(const char* call, unsigned value) {
    std::fprintf(stderr, "gl11: %s does not take 0x%04X here\n", call, value);
    std::abort();
}

// ---- state ----------------------------------------------------------------------------------

static void setIdentity(Matrix& matrix) {
    std::memset(matrix.m, 0, sizeof matrix.m);
    matrix.m[0] = matrix.m[5] = matrix.m[10] = matrix.m[15] = 1.0f;
}

static void copy4(float* to, float a, float b, float c, float d) {
    to[0] = a;
    to[1] = b;
    to[2] = c;
    to[3] = d;
}

// The initial state of an OpenGL 1.1 context, for what the layer implements.
static void startOnce() {
    if (gGl.started) return;
    gGl.started = true;
    backendReportFailuresTo(gl11Misuse);
    setIdentity(gGl.modelview[0]);
    setIdentity(gGl.projection[0]);
    gGl.matrixMode = GL_MODELVIEW;
    Gl11DrawState& d = gGl.draw;
    d.modelview = gGl.modelview[0].m;
    d.projection = gGl.projection[0].m;
    d.modelviewVersion = d.projectionVersion = d.shadingVersion = 1;
    copy4(d.colour, 1, 1, 1, 1);
    copy4(d.materialAmbient, 0.2f, 0.2f, 0.2f, 1);
    copy4(d.materialDiffuse, 0.8f, 0.8f, 0.8f, 1);
    copy4(d.materialEmission, 0, 0, 0, 1);
    copy4(d.sceneAmbient, 0.2f, 0.2f, 0.2f, 1);
    copy4(d.lightAmbient, 0, 0, 0, 1);
    copy4(d.lightDiffuse, 1, 1, 1, 1);  // GL_LIGHT0's own defaults
    copy4(d.lightPosition, 0, 0, 1, 0);
    d.fogStart = 0;
    d.fogEnd = 1;
    copy4(d.fogColour, 0, 0, 0, 0);
    d.depthFunc = GL_LESS;
    d.cullMode = GL_BACK;
    d.blendSource = GL_ONE;
    d.blendDestination = GL_ZERO;
    gGl.clearDepth = 1.0;
    gGl.unpackAlignment = 4;
}

static Matrix& currentMatrix() {
    return gGl.matrixMode == GL_MODELVIEW ? gGl.modelview[gGl.modelviewTop]
                                          : gGl.projection[gGl.projectionTop];
}

static void matrixChanged() {
    Gl11DrawState& d = gGl.draw;
    d.modelview = gGl.modelview[gGl.modelviewTop].m;
    d.projection = gGl.projection[gGl.projectionTop].m;
    if (gGl.matrixMode == GL_MODELVIEW) ++d.modelviewVersion;
    else ++d.projectionVersion;
}

static void shadingChanged() {
    ++gGl.draw.shadingVersion;
}

// m = m * by, as every OpenGL matrix call multiplies on the right.
static void multiply(Matrix& m, const float* by) {
    Matrix product;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += m.m[k * 4 + row] * by[column * 4 + k];
            product.m[column * 4 + row] = sum;
        }
    }
    m = product;
}

static void transformPoint(const Matrix& m, const float* p, float* out) {
    for (int row = 0; row < 4; ++row) {
        out[row] = m.m[row] * p[0] + m.m[4 + row] * p[1] + m.m[8 + row] * p[2] + m.m[12 + row] * p[3];
    }
}

// ---- recording and replay -------------------------------------------------------------------

static void execute(const Command& command) {
    command.apply(command);
}

// A call that a list records when compiling, and that runs at once otherwise.
static void submit(const Command& command) {
    startOnce();
    if (gGl.insideStrip) gl11Misuse("a state call between glBegin and glEnd", 0);
    if (gGl.compiling) {
        gGl.lists[gGl.compiling].commands.push_back(command);
    } else {
        execute(command);
    }
}

static Command makeCommand(Apply apply, GLenum a = 0, GLenum b = 0) {
    Command command = {};
    command.apply = apply;
    command.a = a;
    command.b = b;
    return command;
}

// Calls that are never compiled into a list.
static void requireOutsideList(const char* call) {
    startOnce();
    if (gGl.compiling || gGl.insideStrip) gl11Misuse(call, gGl.compiling);
}

// ---- capabilities ---------------------------------------------------------------------------

// With colour material on, the current colour is the material's ambient and diffuse colour.
static void trackColour() {
    if (!gGl.colourMaterial) return;
    Gl11DrawState& d = gGl.draw;
    std::memcpy(d.materialAmbient, d.colour, sizeof d.colour);
    std::memcpy(d.materialDiffuse, d.colour, sizeof d.colour);
}

static void setCapability(GLenum cap, bool on) {
    Gl11DrawState& d = gGl.draw;
    switch (cap) {
        case GL_LIGHTING: gGl.lightingSwitch = on; break;
        case GL_LIGHT0: gGl.light0Switch = on; break;
        case GL_DEPTH_TEST: d.depthTest = on; break;
        case GL_CULL_FACE: d.cullFace = on; break;
        case GL_BLEND: d.blend = on; break;
        case GL_TEXTURE_2D: d.texturing = on; break;
        case GL_FOG: d.fog = on; break;
        case GL_NORMALIZE: d.normalize = on; break;
        case GL_COLOR_MATERIAL:
            gGl.colourMaterial = on;
            trackColour();
            shadingChanged();
            break;
        default: gl11Misuse(on ? "glEnable" : "glDisable", cap);
    }
    d.lighting = gGl.lightingSwitch && gGl.light0Switch;
}

static void applyEnable(const Command& c) { setCapability(c.a, true); }
static void applyDisable(const Command& c) { setCapability(c.a, false); }

void gl11::glEnable(GLenum cap) {
    submit(makeCommand(applyEnable, cap));
}

void gl11::glDisable(GLenum cap) {
    submit(makeCommand(applyDisable, cap));
}

// ---- display lists --------------------------------------------------------------------------

static void checkListNumber(const char* call, GLuint list) {
    if (list == 0 || list > kMostLists) gl11Misuse(call, list);
}

void gl11::glNewList(GLuint list, GLenum mode) {
    requireOutsideList("glNewList");
    checkListNumber("glNewList", list);
    if (mode != GL_COMPILE) gl11Misuse("glNewList", mode);
    gGl.compiling = list;
    gGl.listHasNormal = gGl.listHasTexCoord = false;
    gGl.lists[list].commands.clear();  // keeps its storage: a recompiled list allocates nothing
    gGl.lists[list].defined = false;
}

void gl11::glEndList() {
    startOnce();
    if (!gGl.compiling || gGl.insideStrip) gl11Misuse("glEndList", gGl.compiling);
    gGl.lists[gGl.compiling].defined = true;
    gGl.compiling = 0;
}

static void applyCallList(const Command& c) {
    const ListState& list = gGl.lists[c.a];
    if (!list.defined) return;  // calling an undefined list does nothing, as in OpenGL
    if (gGl.callDepth >= kMostListNesting) return;
    ++gGl.callDepth;
    for (const Command& command : list.commands) execute(command);
    --gGl.callDepth;
}

void gl11::glCallList(GLuint list) {
    checkListNumber("glCallList", list);
    submit(makeCommand(applyCallList, list));
}

// With no list left, no draw can read the vertex store: it starts again empty, so that a scene
// built again and again (each change of settings) does not grow it.
static void forgetUnusedGeometry() {
    for (GLuint n = 1; n <= kMostLists; ++n) {
        if (gGl.lists[n].defined || gGl.compiling == n) return;
    }
    gGl.vertices.clear();
    gGl.verticesChanged = true;
}

void gl11::glDeleteLists(GLuint list, GLsizei range) {
    requireOutsideList("glDeleteLists");
    if (range < 0) gl11Misuse("glDeleteLists", static_cast<unsigned>(range));
    for (GLuint n = list; n < list + static_cast<GLuint>(range); ++n) {
        if (n == 0 || n > kMostLists) continue;  // names never made are ignored, as in OpenGL
        gGl.lists[n].commands.clear();
        gGl.lists[n].defined = false;
    }
    forgetUnusedGeometry();
}

// ---- geometry: strips compiled into the vertex store ----------------------------------------

static void settleTextures();
static void drawFromBoundTexture();

static void applyDrawStrip(const Command& c) {
    if (gGl.verticesChanged) {
        backendUploadVertices(gGl.vertices.data(), gGl.vertices.size());
        gGl.verticesChanged = false;
    }
    if (gGl.texturesChanged) settleTextures();
    drawFromBoundTexture();
    backendDrawStrip(gGl.draw, c.i[0], c.i[1]);
}

void gl11::glBegin(GLenum mode) {
    startOnce();
    if (!gGl.compiling || gGl.insideStrip) gl11Misuse("glBegin outside a list", mode);
    if (mode != GL_TRIANGLE_STRIP) gl11Misuse("glBegin", mode);
    gGl.insideStrip = true;
    gGl.stripFirst = static_cast<int32_t>(gGl.vertices.size());
}

void gl11::glEnd() {
    if (!gGl.insideStrip) gl11Misuse("glEnd without glBegin", 0);
    gGl.insideStrip = false;
    Command command = makeCommand(applyDrawStrip);
    command.i[0] = gGl.stripFirst;
    command.i[1] = static_cast<GLint>(gGl.vertices.size()) - gGl.stripFirst;
    if (command.i[1] >= 3) submit(command);  // fewer vertices make no triangle
}

void gl11::glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!gGl.insideStrip) gl11Misuse("glVertex3f outside glBegin", 0);
    if (!gGl.listHasNormal || !gGl.listHasTexCoord) gl11Misuse("glVertex3f before its normal", 0);
    Gl11Vertex vertex = {{x, y, z},
                         {gGl.listNormal[0], gGl.listNormal[1], gGl.listNormal[2]},
                         {gGl.listTexCoord[0], gGl.listTexCoord[1]}};
    gGl.vertices.push_back(vertex);
    gGl.verticesChanged = true;
}

// The normal and texture coordinate are kept for the vertices that follow in the list; only
// geometry reads them, and geometry exists only in lists.
void gl11::glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    startOnce();
    if (!gGl.compiling) gl11Misuse("glNormal3f outside a list", 0);
    gGl.listNormal[0] = x;
    gGl.listNormal[1] = y;
    gGl.listNormal[2] = z;
    gGl.listHasNormal = true;
}

// Only coordinates within the picture: a picture in the atlas has its neighbours beyond them.
void gl11::glTexCoord2f(GLfloat s, GLfloat t) {
    startOnce();
    if (!gGl.compiling) gl11Misuse("glTexCoord2f outside a list", 0);
    if (!(s >= 0.0f && s <= 1.0f && t >= 0.0f && t <= 1.0f)) {
        gl11Misuse("glTexCoord2f outside 0 to 1", 0);
    }
    gGl.listTexCoord[0] = s;
    gGl.listTexCoord[1] = t;
    gGl.listHasTexCoord = true;
}

// ---- matrices -------------------------------------------------------------------------------

static void applyMatrixMode(const Command& c) {
    gGl.matrixMode = c.a;
}

void gl11::glMatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) gl11Misuse("glMatrixMode", mode);
    submit(makeCommand(applyMatrixMode, mode));
}

static void applyLoadIdentity(const Command&) {
    setIdentity(currentMatrix());
    matrixChanged();
}

void gl11::glLoadIdentity() {
    submit(makeCommand(applyLoadIdentity));
}

static void applyPushMatrix(const Command&) {
    const bool modelview = gGl.matrixMode == GL_MODELVIEW;
    int& top = modelview ? gGl.modelviewTop : gGl.projectionTop;
    Matrix* stack = modelview ? gGl.modelview : gGl.projection;
    if (top + 1 >= (modelview ? kModelviewDepth : kProjectionDepth)) {
        gl11Misuse("glPushMatrix on a full stack", gGl.matrixMode);
    }
    stack[top + 1] = stack[top];
    ++top;
    matrixChanged();
}

static void applyPopMatrix(const Command&) {
    int& top = gGl.matrixMode == GL_MODELVIEW ? gGl.modelviewTop : gGl.projectionTop;
    if (top == 0) gl11Misuse("glPopMatrix on an empty stack", gGl.matrixMode);
    --top;
    matrixChanged();
}

void gl11::glPushMatrix() {
    submit(makeCommand(applyPushMatrix));
}

void gl11::glPopMatrix() {
    submit(makeCommand(applyPopMatrix));
}

static void applyMultiply(const Command& c) {
    multiply(currentMatrix(), c.f);
    matrixChanged();
}

// Records or runs "multiply the current matrix by m"; the matrix is made when the call is made.
static void submitMultiply(const double (&m)[16]) {
    Command command = makeCommand(applyMultiply);
    for (int k = 0; k < 16; ++k) command.f[k] = static_cast<float>(m[k]);
    submit(command);
}

void gl11::glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    submitMultiply(m);
}

// The rotation about the axis (x, y, z) as OpenGL 1.1 defines it; the axis is normalised first.
void gl11::glRotatef(GLfloat angleDegrees, GLfloat x, GLfloat y, GLfloat z) {
    const double length = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                    static_cast<double>(z) * z);
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (length > 0.0) {
        const double ux = x / length, uy = y / length, uz = z / length;
        const double radians = angleDegrees * kPi / 180.0;
        const double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
        const double rotation[16] = {ux * ux * t + c,      uy * ux * t + uz * s, ux * uz * t - uy * s, 0,
                                     ux * uy * t - uz * s, uy * uy * t + c,      uy * uz * t + ux * s, 0,
                                     ux * uz * t + uy * s, uy * uz * t - ux * s, uz * uz * t + c,      0,
                                     0,                    0,                    0,                    1};
        std::memcpy(m, rotation, sizeof m);
    }
    submitMultiply(m);
}

void gl11::glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                   GLdouble zFar) {
    if (left == right || bottom == top || zNear == zFar) gl11Misuse("glOrtho with an empty box", 0);
    double m[16] = {2 / (right - left), 0, 0, 0,
                    0, 2 / (top - bottom), 0, 0,
                    0, 0, -2 / (zFar - zNear), 0,
                    -(right + left) / (right - left), -(top + bottom) / (top - bottom),
                    -(zFar + zNear) / (zFar - zNear), 1};
    submitMultiply(m);
}

// GLU's perspective matrix; a degenerate frustum leaves the matrix alone, as GLU does.
void gl11::gluPerspective(GLdouble fovyDegrees, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovyDegrees / 2 * kPi / 180.0;
    const double depth = zFar - zNear, sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {cotangent / aspect, 0, 0, 0,
                    0, cotangent, 0, 0,
                    0, 0, -(zFar + zNear) / depth, -1,
                    0, 0, -2 * zNear * zFar / depth, 0};
    submitMultiply(m);
}

// ---- raster state ---------------------------------------------------------------------------

static void applyViewport(const Command& c) {
    std::memcpy(gGl.draw.viewport, c.i, sizeof gGl.draw.viewport);
}

void gl11::glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (width < 0 || height < 0) gl11Misuse("glViewport", 0);
    Command command = makeCommand(applyViewport);
    command.i[0] = x;
    command.i[1] = y;
    command.i[2] = width;
    command.i[3] = height;
    submit(command);
}

static void applyClear(const Command& c) {
    backendClear(c.a, gGl.clearColour, gGl.clearDepth);
}

void gl11::glClear(GLbitfield mask) {
    if (mask & ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) {
        gl11Misuse("glClear", mask);
    }
    submit(makeCommand(applyClear, mask));
}

static float clamp01(float value) {
    return value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
}

static void applyClearColour(const Command& c) {
    for (int k = 0; k < 4; ++k) gGl.clearColour[k] = clamp01(c.f[k]);
}

void gl11::glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    Command command = makeCommand(applyClearColour);
    copy4(command.f, red, green, blue, alpha);
    submit(command);
}

static void applyClearDepth(const Command& c) {
    gGl.clearDepth = c.f[0];
}

void gl11::glClearDepth(GLclampd depth) {
    Command command = makeCommand(applyClearDepth);
    command.f[0] = clamp01(static_cast<float>(depth));
    submit(command);
}

static void applyDepthFunc(const Command& c) { gGl.draw.depthFunc = c.a; }
static void applyCullFace(const Command& c) { gGl.draw.cullMode = c.a; }
static void applyBlendFunc(const Command& c) {
    gGl.draw.blendSource = c.a;
    gGl.draw.blendDestination = c.b;
}
static void applyNothing(const Command&) {}

void gl11::glDepthFunc(GLenum func) {
    if (func != GL_LESS && func != GL_LEQUAL) gl11Misuse("glDepthFunc", func);
    submit(makeCommand(applyDepthFunc, func));
}

void gl11::glCullFace(GLenum mode) {
    if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) {
        gl11Misuse("glCullFace", mode);
    }
    submit(makeCommand(applyCullFace, mode));
}

static bool isBlendFactor(GLenum factor) {
    return factor == GL_ZERO || factor == GL_ONE || factor == GL_SRC_ALPHA ||
           factor == GL_ONE_MINUS_SRC_ALPHA;
}

void gl11::glBlendFunc(GLenum sfactor, GLenum dfactor) {
    if (!isBlendFactor(sfactor)) gl11Misuse("glBlendFunc", sfactor);
    if (!isBlendFactor(dfactor)) gl11Misuse("glBlendFunc", dfactor);
    submit(makeCommand(applyBlendFunc, sfactor, dfactor));
}

// Smooth shading is the only one the layer draws, and OpenGL's default.
void gl11::glShadeModel(GLenum mode) {
    if (mode != GL_SMOOTH) gl11Misuse("glShadeModel", mode);
    submit(makeCommand(applyNothing));
}

void gl11::glHint(GLenum target, GLenum mode) {
    if (target != GL_PERSPECTIVE_CORRECTION_HINT && target != GL_FOG_HINT) {
        gl11Misuse("glHint", target);
    }
    if (mode != GL_DONT_CARE && mode != GL_FASTEST && mode != GL_NICEST) gl11Misuse("glHint", mode);
    submit(makeCommand(applyNothing));
}

// ---- colour, material, light and fog --------------------------------------------------------

static void applyColour(const Command& c) {
    std::memcpy(gGl.draw.colour, c.f, sizeof gGl.draw.colour);
    trackColour();
    shadingChanged();
}

void gl11::glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    Command command = makeCommand(applyColour);
    copy4(command.f, red, green, blue, alpha);
    submit(command);
}

static void applyEmission(const Command& c) {
    std::memcpy(gGl.draw.materialEmission, c.f, sizeof gGl.draw.materialEmission);
    shadingChanged();
}

// One-sided lighting reads only the front material, so GL_FRONT and GL_FRONT_AND_BACK set the
// same emission here.
void gl11::glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) gl11Misuse("glMaterialfv", face);
    if (pname != GL_EMISSION) gl11Misuse("glMaterialfv", pname);
    Command command = makeCommand(applyEmission);
    std::memcpy(command.f, params, 4 * sizeof(float));
    submit(command);
}

void gl11::glColorMaterial(GLenum face, GLenum mode) {
    if (face != GL_FRONT_AND_BACK) gl11Misuse("glColorMaterial", face);
    if (mode != GL_AMBIENT_AND_DIFFUSE) gl11Misuse("glColorMaterial", mode);
    submit(makeCommand(applyNothing));
}

// A position is stored in eye coordinates: transformed by the model-view matrix of the moment.
static void applyLight(const Command& c) {
    Gl11DrawState& d = gGl.draw;
    switch (c.a) {
        case GL_AMBIENT: std::memcpy(d.lightAmbient, c.f, sizeof d.lightAmbient); break;
        case GL_DIFFUSE: std::memcpy(d.lightDiffuse, c.f, sizeof d.lightDiffuse); break;
        case GL_SPECULAR: break;  // the material's specular colour is black: the term is zero
        case GL_POSITION:
            transformPoint(gGl.modelview[gGl.modelviewTop], c.f, d.lightPosition);
            break;
    }
    shadingChanged();
}

void gl11::glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    if (light != GL_LIGHT0) gl11Misuse("glLightfv", light);
    if (pname != GL_AMBIENT && pname != GL_DIFFUSE && pname != GL_SPECULAR && pname != GL_POSITION) {
        gl11Misuse("glLightfv", pname);
    }
    Command command = makeCommand(applyLight, pname);
    std::memcpy(command.f, params, 4 * sizeof(float));
    submit(command);
}

static void applyFog(const Command& c) {
    Gl11DrawState& d = gGl.draw;
    switch (c.a) {
        case GL_FOG_START: d.fogStart = c.f[0]; break;
        case GL_FOG_END: d.fogEnd = c.f[0]; break;
        case GL_FOG_COLOR:
            for (int k = 0; k < 4; ++k) d.fogColour[k] = clamp01(c.f[k]);
            break;
    }
    shadingChanged();
}

void gl11::glFogi(GLenum pname, GLint param) {
    if (pname != GL_FOG_MODE) gl11Misuse("glFogi", pname);
    if (param != GL_LINEAR) gl11Misuse("glFogi", static_cast<unsigned>(param));
    submit(makeCommand(applyNothing));
}

void gl11::glFogf(GLenum pname, GLfloat param) {
    if (pname == GL_FOG_DENSITY) {
        if (param < 0.0f) gl11Misuse("glFogf", pname);
        submit(makeCommand(applyNothing));  // linear fog does not read the density
        return;
    }
    if (pname != GL_FOG_START && pname != GL_FOG_END) gl11Misuse("glFogf", pname);
    Command command = makeCommand(applyFog, pname);
    command.f[0] = param;
    submit(command);
}

void gl11::glFogfv(GLenum pname, const GLfloat* params) {
    if (pname != GL_FOG_COLOR) gl11Misuse("glFogfv", pname);
    Command command = makeCommand(applyFog, pname);
    std::memcpy(command.f, params, 4 * sizeof(float));
    submit(command);
}

// ---- textures -------------------------------------------------------------------------------

// The live texture of that name, or null.
static TextureState* textureNamed(GLuint name) {
    if (name == 0 || name > gGl.textures.size()) return nullptr;
    TextureState& texture = gGl.textures[name - 1];
    return texture.live ? &texture : nullptr;
}

// The atlas that can hold a texture's picture, -1 where it needs a texture of its own: both
// wraps GL_CLAMP, both filters given (OpenGL's default minification filter wants mipmaps, which
// make a texture without them draw as none), and an image with pixels.
static int atlasFor(const TextureState& texture) {
    const GLint* given = texture.parameters;
    if (given[kWrapS] != GL_CLAMP || given[kWrapT] != GL_CLAMP) return -1;
    if (!given[kMinFilter] || !given[kMagFilter]) return -1;
    if (!texture.hasImage || texture.pixels.empty()) return -1;
    return (given[kMinFilter] == GL_LINEAR ? 2 : 0) + (given[kMagFilter] == GL_LINEAR ? 1 : 0);
}

// What settleTextures must do again for a texture whose parameters or image changed.
static void textureChanged(TextureState& texture) {
    texture.ownCurrent = false;
    gGl.texturesChanged = true;
    if (texture.atlas >= 0 || atlasFor(texture) >= 0) gGl.atlasesChanged = true;
}

// The names of deleted textures are given again, as OpenGL does.
void gl11::glGenTextures(GLsizei n, GLuint* textures) {
    requireOutsideList("glGenTextures");
    for (GLsizei k = 0; k < n; ++k) {
        size_t slot = 0;
        while (slot < gGl.textures.size() && gGl.textures[slot].live) ++slot;
        if (slot == gGl.textures.size()) gGl.textures.emplace_back();
        TextureState& texture = gGl.textures[slot];
        texture = TextureState();
        texture.live = true;
        textures[k] = static_cast<GLuint>(slot + 1);
    }
    gGl.texturesChanged = true;
}

// Deleting the bound texture binds 0, as OpenGL does; 0 and unknown names are ignored.
void gl11::glDeleteTextures(GLsizei n, const GLuint* textures) {
    requireOutsideList("glDeleteTextures");
    for (GLsizei k = 0; k < n; ++k) {
        TextureState* texture = textureNamed(textures[k]);
        if (!texture) continue;
        if (gGl.boundTexture == textures[k]) gGl.boundTexture = 0;
        if (texture->ownTexture) backendDeleteTexture(texture->ownTexture);
        if (texture->atlas >= 0) gGl.texturesChanged = gGl.atlasesChanged = true;
        *texture = TextureState();  // frees its pixels
    }
}

static void applyBindTexture(const Command& c) {
    gGl.boundTexture = c.b;
}

void gl11::glBindTexture(GLenum target, GLuint texture) {
    if (target != GL_TEXTURE_2D) gl11Misuse("glBindTexture", target);
    submit(makeCommand(applyBindTexture, target, texture));
}

void gl11::glPixelStorei(GLenum pname, GLint param) {
    requireOutsideList("glPixelStorei");
    if (pname != GL_UNPACK_ALIGNMENT) gl11Misuse("glPixelStorei", pname);
    if (param != 1 && param != 2 && param != 4 && param != 8) {
        gl11Misuse("glPixelStorei", static_cast<unsigned>(param));
    }
    gGl.unpackAlignment = param;
}

static int textureParameterIndex(GLenum pname, GLint param) {
    for (int k = 0; k < kTextureParameterCount; ++k) {
        if (kTextureParameters[k] != pname) continue;
        const bool wrap = pname == GL_TEXTURE_WRAP_S || pname == GL_TEXTURE_WRAP_T;
        const bool valid = wrap ? param == GL_CLAMP : param == GL_LINEAR || param == GL_NEAREST;
        return valid ? k : -1;
    }
    return -1;
}

static TextureState& boundTextureFor(const char* call, GLenum value) {
    TextureState* texture = textureNamed(gGl.boundTexture);
    if (!texture) gl11Misuse(call, value);
    return *texture;
}

void gl11::glTexParameteri(GLenum target, GLenum pname, GLint param) {
    requireOutsideList("glTexParameteri");
    if (target != GL_TEXTURE_2D) gl11Misuse("glTexParameteri", target);
    const int index = textureParameterIndex(pname, param);
    if (index < 0) gl11Misuse("glTexParameteri", pname);
    TextureState& texture = boundTextureFor("glTexParameteri with no texture bound", pname);
    texture.parameters[index] = param;
    textureChanged(texture);
}

// The bytes that OpenGL reads for an image: every row but the last padded to the alignment.
static size_t imageBytes(int32_t width, int32_t height, int32_t alignment) {
    if (width == 0 || height == 0) return 0;
    const size_t row = static_cast<size_t>(width) * kTexelBytes;
    const size_t paddedRow = (row + alignment - 1) / alignment * alignment;
    return paddedRow * static_cast<size_t>(height - 1) + row;
}

void gl11::glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width,
                        GLsizei height, GLint border, GLenum format, GLenum type,
                        const GLvoid* pixels) {
    requireOutsideList("glTexImage2D");
    if (target != GL_TEXTURE_2D) gl11Misuse("glTexImage2D", target);
    if (level != 0 || border != 0) gl11Misuse("glTexImage2D level or border", 0);
    if (internalformat != GL_RGBA) gl11Misuse("glTexImage2D", static_cast<unsigned>(internalformat));
    if (format != GL_RGBA) gl11Misuse("glTexImage2D", format);
    if (type != GL_UNSIGNED_BYTE) gl11Misuse("glTexImage2D", type);
    if (width < 0 || height < 0) gl11Misuse("glTexImage2D size", 0);
    TextureState& texture = boundTextureFor("glTexImage2D with no texture bound", 0);
    texture.hasImage = true;
    texture.width = width;
    texture.height = height;
    texture.alignment = gGl.unpackAlignment;
    const uint8_t* bytes = static_cast<const uint8_t*>(pixels);
    if (bytes) texture.pixels.assign(bytes, bytes + imageBytes(width, height, texture.alignment));
    else texture.pixels.clear();
    textureChanged(texture);
}

// ---- the backend's textures -----------------------------------------------------------------

// The texture as it was given, in a backend texture of its own: its parameters, then its image.
static void makeOwnTexture(TextureState& texture) {
    if (!texture.ownTexture) texture.ownTexture = backendCreateTexture();
    texture.ownCurrent = true;
    for (int k = 0; k < kTextureParameterCount; ++k) {
        if (texture.parameters[k] == 0) continue;
        backendTextureParameter(texture.ownTexture, kTextureParameters[k], texture.parameters[k]);
    }
    if (!texture.hasImage) return;
    backendTextureImage(texture.ownTexture, texture.width, texture.height, texture.alignment,
                        texture.pixels.empty() ? nullptr : texture.pixels.data());
}

// The backend's texture for an atlas, made with the atlas's filters the first time it is needed.
static uint32_t atlasTexture(int atlas) {
    AtlasState& state = gGl.atlases[atlas];
    if (state.backendTexture) return state.backendTexture;
    state.backendTexture = backendCreateTexture();
    backendTextureParameter(state.backendTexture, GL_TEXTURE_WRAP_S, GL_CLAMP);
    backendTextureParameter(state.backendTexture, GL_TEXTURE_WRAP_T, GL_CLAMP);
    backendTextureParameter(state.backendTexture, GL_TEXTURE_MIN_FILTER,
                            atlas & 2 ? GL_LINEAR : GL_NEAREST);
    backendTextureParameter(state.backendTexture, GL_TEXTURE_MAG_FILTER,
                            atlas & 1 ? GL_LINEAR : GL_NEAREST);
    return state.backendTexture;
}

// Lays out the pictures that atlas `atlas` is to hold, in name order, each with its rectangle, and
// gives the backend its texels; a picture it has no room for gets a texture of its own instead.
static void fillAtlas(int atlas) {
    std::vector<TextureState*> members;
    std::vector<AtlasPicture> pictures;
    for (TextureState& texture : gGl.textures) {
        if (!texture.live || texture.atlas != atlas) continue;
        members.push_back(&texture);
        pictures.push_back(
            {texture.width, texture.height, texture.alignment, texture.pixels.data()});
    }
    std::vector<AtlasPlace> places(pictures.size());
    int32_t width = 0, height = 0;
    layOutAtlas(pictures.data(), pictures.size(), places.data(), &width, &height);
    std::vector<uint8_t> texels(static_cast<size_t>(width) * height * kTexelBytes);
    for (size_t k = 0; k < members.size(); ++k) {
        TextureState& texture = *members[k];
        if (places[k].x < 0) {
            texture.atlas = -1;
            continue;
        }
        copyIntoAtlas(pictures[k], places[k], texels.data(), width);
        copy4(texture.rect, static_cast<float>(places[k].x) / width,
              static_cast<float>(places[k].y) / height, static_cast<float>(texture.width) / width,
              static_cast<float>(texture.height) / height);
    }
    AtlasState& state = gGl.atlases[atlas];
    if (width == 0) {
        if (state.backendTexture) backendDeleteTexture(state.backendTexture);
        state.backendTexture = 0;
        return;
    }
    backendTextureImage(atlasTexture(atlas), width, height, kAtlasRowAlignment, texels.data());
}

// Brings the backend's textures up to what was given: the atlases laid out and filled again where
// their pictures changed, and a texture of its own made or renewed for every other live name.
static void settleTextures() {
    gGl.texturesChanged = false;
    if (gGl.atlasesChanged) {
        gGl.atlasesChanged = false;
        for (TextureState& texture : gGl.textures) {
            texture.atlas = texture.live ? atlasFor(texture) : -1;
        }
        for (int atlas = 0; atlas < kAtlasCount; ++atlas) fillAtlas(atlas);
    }
    for (TextureState& texture : gGl.textures) {
        if (!texture.live) continue;
        if (texture.atlas < 0) {
            if (!texture.ownTexture || !texture.ownCurrent) makeOwnTexture(texture);
        } else if (texture.ownTexture) {
            backendDeleteTexture(texture.ownTexture);
            texture.ownTexture = 0;
        }
    }
}

// A draw samples the bound texture's picture where the backend holds it; a name that no texture
// holds draws untextured, sampling the backend's texture 0.
static void drawFromBoundTexture() {
    Gl11DrawState& d = gGl.draw;
    const TextureState* texture = textureNamed(gGl.boundTexture);
    const float* rect = kWholeTexture;
    d.texture = 0;
    if (texture && texture->atlas >= 0) {
        d.texture = gGl.atlases[texture->atlas].backendTexture;
        rect = texture->rect;
    } else if (texture) {
        d.texture = texture->ownTexture;
    }
    std::memcpy(d.textureRect, rect, sizeof d.textureRect);
}

// ---- a new context --------------------------------------------------------------------------

// The one place where every GPU object is made again from what the layer keeps.
void gl11RestoreContext() {
    startOnce();
    backendForgetContext();
    for (TextureState& texture : gGl.textures) {
        texture.ownTexture = 0;
        texture.ownCurrent = false;
    }
    for (AtlasState& atlas : gGl.atlases) atlas.backendTexture = 0;
    gGl.texturesChanged = gGl.atlasesChanged = true;
    settleTextures();
    gGl.verticesChanged = true;
}
