// The OpenGL 1.1 layer's drawing half in the browser: WebGL 1 programs that light vertices with
// GL_LIGHT0 and colour material, texture by modulation (from a picture's rectangle in its texture)
// and fog linearly, as OpenGL 1.1's equations say, one for each combination of those switches; one
// vertex buffer for every list's geometry; and a copy of the WebGL state sent, so that a draw sends
// only what differs from the previous one; in Chromium, in a frame of many draws, a flush every so
// many draws. After a lost context it forgets all of them and starts again as on the first draw.
#include <GLES2/gl2.h>
#include <emscripten.h>

#include <cstdlib>
#include <cstring>

#include "scene/web/gl11_backend.h"

namespace {

const GLuint kPositionAttribute = 0;
const GLuint kNormalAttribute = 1;
const GLuint kTexCoordAttribute = 2;
const int kVertexUniforms = 9;    // vec4s, in the order of uVertex below
const int kLighting = 1, kNormalize = 2, kTexturing = 4, kFog = 8;  // a program's switches
const int kPrograms = 16;
const int kFragmentUniforms = 1;  // vec4s, in the order of uFragment below
const GLenum kOpenGl11Clamp = 0x2900;  // GL_CLAMP, which WebGL does not have

// Draws between flushes within a frame (a clear starts the count again, so a frame of fewer draws
// is never flushed). llvmpipe keeps the scene data of every draw since the last flush, megabytes
// in a frame of thousands of draws, and frees it once rasterised; Chromium's allocator gives such
// blocks back to the system (madvise) and the next frame faults them in again. At 1500 notes
// (3,001 draws) and 1280x720, medians of three runs (docs/performance.md): no flushes 1,011
// faults and 42 madvise calls a frame; every 1,500 draws 787 and 29; every 1,000 546 and 17;
// every 500 384 and 5; every 250 294 and 2. 500 is the fewest flushes that reach the floor (what
// remains is not scene data); where a fault costs several times what it costs there, it also gave
// the best frame times (27-29 ms, against 29-34 for every 50-250 draws, 31-34 for every
// 1,000-1,500 and 39-44 without), and where faults are cheap the frame times do not tell the
// intervals apart. Only in Chromium and the browsers built on it, whose GPU process is where
// llvmpipe's memory goes back and forth: Firefox's faults do not change with the flushes, and there
// each flush costs (1500 notes, 1280x720: 43-53 ms a frame against 33-36 without, main thread 6-7
// ms against 3-4); other browsers were not measured.
const int kDrawsPerFlush = 500;

// Per vertex, OpenGL 1.1's light equation for one positional or directional light with the
// material's specular colour black (so no specular term), an infinite viewer, one-sided lighting
// and no attenuation or spot; and linear fog's factor by the eye's distance along -z, unclamped:
// it is affine in the distance, so interpolated it is the factor of the fragment's own distance,
// and each fragment only clamps it (a division less for every pixel, which a software rasteriser
// pays for). The switches are compiled
// in, as a fixed-function driver does: a branch on a uniform costs a software rasteriser dearly.
// The picture's rectangle is applied here, not per fragment, so that draws of different pictures
// in one atlas change only the vertex stage's uniforms: a software rasteriser keeps a copy of its
// fragment state for every draw whose fragment state differs from the draw before.
const char kVertexShader[] = R"(
attribute vec3 aPosition;
attribute vec3 aNormal;
attribute vec2 aTexCoord;
uniform mat4 uModelview;
uniform mat4 uProjection;
// 0 current colour, 1 material ambient, 2 material diffuse, 3 material emission, 4 scene ambient,
// 5 light ambient, 6 light diffuse, 7 light position (eye), 8 fog start and end
uniform vec4 uVertex[9];
uniform vec4 uTextureRect;  // s and t offsets, then s and t scales
varying vec4 vColour;
varying vec2 vTexCoord;
varying float vFog;
void main() {
    vec4 eye = uModelview * vec4(aPosition, 1.0);
    gl_Position = uProjection * eye;
#ifdef TEXTURING
    vTexCoord = uTextureRect.xy + aTexCoord * uTextureRect.zw;
#else
    vTexCoord = aTexCoord;
#endif
    vFog = (uVertex[8].y - abs(eye.z)) / (uVertex[8].y - uVertex[8].x);
#ifdef LIGHTING
    {
        vec3 normal = mat3(uModelview) * aNormal;
#ifdef NORMALIZE
        normal = normalize(normal);
#endif
        vec4 light = uVertex[7];
        vec3 toLight = normalize(light.w == 0.0 ? light.xyz : light.xyz / light.w - eye.xyz / eye.w);
        float diffuse = max(dot(normal, toLight), 0.0);
        vec3 lit = uVertex[3].rgb + uVertex[4].rgb * uVertex[1].rgb +
                   uVertex[5].rgb * uVertex[1].rgb + diffuse * uVertex[6].rgb * uVertex[2].rgb;
        vColour = clamp(vec4(lit, uVertex[2].a), 0.0, 1.0);
    }
#else
    vColour = clamp(uVertex[0], 0.0, 1.0);
#endif
}
)";

// GL_MODULATE, then linear fog: f = (end - distance) / (end - start), clamped.
const char kFragmentShader[] = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D uTexture;
// 0: fog colour
uniform vec4 uFragment[1];
varying vec4 vColour;
varying vec2 vTexCoord;
varying float vFog;
void main() {
    vec4 colour = vColour;
#ifdef TEXTURING
    colour *= texture2D(uTexture, vTexCoord);
#endif
#ifdef FOG
    {
        colour.rgb = mix(uFragment[0].rgb, colour.rgb, clamp(vFog, 0.0, 1.0));
    }
#endif
    gl_FragColor = colour;
}
)";

// What has been sent to WebGL; a value equal to what a draw needs is not sent again.
struct Sent {
    bool depthTest, cullFace, blend;
    GLenum depthFunc, cullMode, blendSource, blendDestination;
    int32_t viewport[4];
    GLuint texture;
    GLint unpackAlignment;
    float clearColour[4];
    float clearDepth;
    int program;  // index into gBackend.programs, -1 before the first draw
};

// Uniforms belong to their program, so each program keeps the versions it was last sent.
struct Program {
    GLuint name;  // 0 until first needed
    GLint modelviewUniform, projectionUniform, vertexUniform, fragmentUniform, textureRectUniform;
    uint32_t modelviewVersion, projectionVersion, shadingVersion;
    float textureRect[4];  // as sent; WebGL's initial value, zeros, to begin with
};

}  // namespace

static struct {
    BackendFailureReport reportFailure;  // the layer's; kept through a lost context
    bool ready;
    Program programs[kPrograms];
    GLuint vertexBuffer;
    Sent sent;
    int drawsPerFlush;    // 0: never flush
    int drawsSinceFlush;  // or since the frame's clear
} gBackend;

void backendReportFailuresTo(BackendFailureReport report) {
    gBackend.reportFailure = report;
}

[[noreturn]] static void fail(const char* what, unsigned value) {
    if (gBackend.reportFailure) gBackend.reportFailure(what, value);
    std::abort();
}

EM_JS(int, flushesPayHere, (), {
    return navigator.userAgent.indexOf('Chrome/') >= 0 ? 1 : 0;
});

static GLuint compileShader(GLenum type, const char* switches, const char* source) {
    const GLuint shader = glCreateShader(type);
    const char* parts[] = {switches, source};
    glShaderSource(shader, 2, parts, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) fail("a shader that WebGL does not compile", type);
    return shader;
}

// The lines that compile a program's switches in.
static void switchDefines(int switches, char (&text)[96]) {
    text[0] = '\0';
    if (switches & kLighting) std::strcat(text, "#define LIGHTING\n");
    if (switches & kNormalize) std::strcat(text, "#define NORMALIZE\n");
    if (switches & kTexturing) std::strcat(text, "#define TEXTURING\n");
    if (switches & kFog) std::strcat(text, "#define FOG\n");
}

static void linkProgram(int switches, Program& program) {
    char defines[96];
    switchDefines(switches, defines);
    const GLuint name = glCreateProgram();
    glAttachShader(name, compileShader(GL_VERTEX_SHADER, defines, kVertexShader));
    glAttachShader(name, compileShader(GL_FRAGMENT_SHADER, defines, kFragmentShader));
    glBindAttribLocation(name, kPositionAttribute, "aPosition");
    glBindAttribLocation(name, kNormalAttribute, "aNormal");
    glBindAttribLocation(name, kTexCoordAttribute, "aTexCoord");
    glLinkProgram(name);
    GLint linked = 0;
    glGetProgramiv(name, GL_LINK_STATUS, &linked);
    if (!linked) fail("a program that WebGL does not link", static_cast<unsigned>(switches));
    program.name = name;
    program.modelviewUniform = glGetUniformLocation(name, "uModelview");
    program.projectionUniform = glGetUniformLocation(name, "uProjection");
    program.vertexUniform = glGetUniformLocation(name, "uVertex");
    program.fragmentUniform = glGetUniformLocation(name, "uFragment");
    program.textureRectUniform = glGetUniformLocation(name, "uTextureRect");
    glUseProgram(name);
    glUniform1i(glGetUniformLocation(name, "uTexture"), 0);
}

// The program for the draw's switches, in use; made the first time those switches draw.
static Program& useProgram(const Gl11DrawState& state) {
    const int switches = (state.lighting ? kLighting : 0) | (state.normalize ? kNormalize : 0) |
                         (state.texturing ? kTexturing : 0) | (state.fog ? kFog : 0);
    Program& program = gBackend.programs[switches];
    if (gBackend.sent.program == switches) return program;
    if (!program.name) linkProgram(switches, program);
    else glUseProgram(program.name);
    gBackend.sent.program = switches;
    return program;
}

// WebGL's initial state, as far as the copy tracks it.
static void startOnce() {
    if (gBackend.ready) return;
    gBackend.ready = true;
    gBackend.drawsPerFlush = flushesPayHere() ? kDrawsPerFlush : 0;
    Sent& s = gBackend.sent;
    s.program = -1;
    s.depthFunc = GL_LESS;
    s.cullMode = GL_BACK;
    s.blendSource = GL_ONE;
    s.blendDestination = GL_ZERO;
    s.viewport[2] = s.viewport[3] = -1;  // unknown: the first draw sends its own
    s.unpackAlignment = 4;
    s.clearDepth = 1.0f;
}

static void setSwitch(GLenum cap, bool wanted, bool& sent) {
    if (wanted == sent) return;
    if (wanted) glEnable(cap);
    else glDisable(cap);
    sent = wanted;
}

static void bindTexture(GLuint texture) {
    if (gBackend.sent.texture == texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    gBackend.sent.texture = texture;
}

static void sendRasterState(const Gl11DrawState& state) {
    Sent& s = gBackend.sent;
    setSwitch(GL_DEPTH_TEST, state.depthTest, s.depthTest);
    setSwitch(GL_CULL_FACE, state.cullFace, s.cullFace);
    setSwitch(GL_BLEND, state.blend, s.blend);
    if (state.depthTest && state.depthFunc != s.depthFunc) {
        glDepthFunc(s.depthFunc = state.depthFunc);
    }
    if (state.cullFace && state.cullMode != s.cullMode) glCullFace(s.cullMode = state.cullMode);
    if (state.blend &&
        (state.blendSource != s.blendSource || state.blendDestination != s.blendDestination)) {
        s.blendSource = state.blendSource;
        s.blendDestination = state.blendDestination;
        glBlendFunc(s.blendSource, s.blendDestination);
    }
    if (std::memcmp(state.viewport, s.viewport, sizeof s.viewport) != 0) {
        std::memcpy(s.viewport, state.viewport, sizeof s.viewport);
        glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    }
    if (state.texturing) bindTexture(state.texture);
}

static void copy4(float* to, const float* from) {
    std::memcpy(to, from, 4 * sizeof(float));
}

static void sendShading(const Program& program, const Gl11DrawState& state) {
    float vertex[kVertexUniforms][4];
    copy4(vertex[0], state.colour);
    copy4(vertex[1], state.materialAmbient);
    copy4(vertex[2], state.materialDiffuse);
    copy4(vertex[3], state.materialEmission);
    copy4(vertex[4], state.sceneAmbient);
    copy4(vertex[5], state.lightAmbient);
    copy4(vertex[6], state.lightDiffuse);
    copy4(vertex[7], state.lightPosition);
    const float fogRange[4] = {state.fogStart, state.fogEnd, 0, 0};
    copy4(vertex[8], fogRange);
    glUniform4fv(program.vertexUniform, kVertexUniforms, vertex[0]);
    glUniform4fv(program.fragmentUniform, kFragmentUniforms, state.fogColour);
}

static void sendUniforms(Program& program, const Gl11DrawState& state) {
    if (state.modelviewVersion != program.modelviewVersion) {
        glUniformMatrix4fv(program.modelviewUniform, 1, GL_FALSE, state.modelview);
        program.modelviewVersion = state.modelviewVersion;
    }
    if (state.projectionVersion != program.projectionVersion) {
        glUniformMatrix4fv(program.projectionUniform, 1, GL_FALSE, state.projection);
        program.projectionVersion = state.projectionVersion;
    }
    if (state.shadingVersion != program.shadingVersion) {
        sendShading(program, state);
        program.shadingVersion = state.shadingVersion;
    }
    if (state.texturing &&
        std::memcmp(state.textureRect, program.textureRect, sizeof program.textureRect) != 0) {
        copy4(program.textureRect, state.textureRect);
        glUniform4fv(program.textureRectUniform, 1, program.textureRect);
    }
}

void backendUploadVertices(const Gl11Vertex* vertices, size_t count) {
    startOnce();
    if (!gBackend.vertexBuffer) {
        glGenBuffers(1, &gBackend.vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, gBackend.vertexBuffer);
        const GLsizei stride = sizeof(Gl11Vertex);
        glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Gl11Vertex, position)));
        glVertexAttribPointer(kNormalAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Gl11Vertex, normal)));
        glVertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Gl11Vertex, texCoord)));
        glEnableVertexAttribArray(kPositionAttribute);
        glEnableVertexAttribArray(kNormalAttribute);
        glEnableVertexAttribArray(kTexCoordAttribute);
    }
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Gl11Vertex)), vertices,
                 GL_STATIC_DRAW);
}

void backendDrawStrip(const Gl11DrawState& state, int32_t firstVertex, int32_t vertexCount) {
    startOnce();
    sendRasterState(state);
    sendUniforms(useProgram(state), state);
    glDrawArrays(GL_TRIANGLE_STRIP, firstVertex, vertexCount);
    if (!gBackend.drawsPerFlush || ++gBackend.drawsSinceFlush < gBackend.drawsPerFlush) return;
    glFlush();
    gBackend.drawsSinceFlush = 0;
}

void backendClear(uint32_t mask, const float colour[4], double depth) {
    startOnce();
    Sent& s = gBackend.sent;
    if ((mask & GL_COLOR_BUFFER_BIT) && std::memcmp(colour, s.clearColour, sizeof s.clearColour)) {
        copy4(s.clearColour, colour);
        glClearColor(colour[0], colour[1], colour[2], colour[3]);
    }
    if ((mask & GL_DEPTH_BUFFER_BIT) && static_cast<float>(depth) != s.clearDepth) {
        s.clearDepth = static_cast<float>(depth);
        glClearDepthf(s.clearDepth);
    }
    glClear(mask);
    gBackend.drawsSinceFlush = 0;
}

// NOTE: the lost context's objects are not deleted: WebGL refuses (and warns of) calls on objects
// of a context before its loss, and they hold no memory of the new one.
void backendForgetContext() {
    const BackendFailureReport report = gBackend.reportFailure;
    gBackend = {};
    gBackend.reportFailure = report;
}

uint32_t backendCreateTexture() {
    startOnce();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    return texture;
}

void backendDeleteTexture(uint32_t texture) {
    if (gBackend.sent.texture == texture) gBackend.sent.texture = 0;
    glDeleteTextures(1, &texture);
}

void backendTextureParameter(uint32_t texture, uint32_t pname, int32_t param) {
    bindTexture(texture);
    glTexParameteri(GL_TEXTURE_2D, pname,
                    param == static_cast<int32_t>(kOpenGl11Clamp) ? GL_CLAMP_TO_EDGE : param);
}

void backendTextureImage(uint32_t texture, int32_t width, int32_t height, int32_t alignment,
                         const void* pixels) {
    bindTexture(texture);
    if (alignment != gBackend.sent.unpackAlignment) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, gBackend.sent.unpackAlignment = alignment);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}
