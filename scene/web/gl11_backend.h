// What the OpenGL 1.1 layer (scene/web/gl11.cpp) asks of the graphics API under it. The layer keeps
// all fixed-function state and hands the backend, for each draw, the state that draw reads; the
// backend (scene/web/webgl_backend.cpp in the browser) turns it into shader uniforms and WebGL
// state, sending only what changed since its last draw. Calls go from the layer to the backend;
// the backend reports back only through the failure report the layer hands it. The native tests
// link a recording stand-in.
#pragma once

#include <cstddef>
#include <cstdint>

struct Gl11Vertex {
    float position[3];  // object coordinates
    float normal[3];
    float texCoord[2];
};

// The state a draw reads. The layer raises a version whenever a group of values changes, so the
// backend compares one number per group instead of the values.
struct Gl11DrawState {
    uint32_t modelviewVersion;
    const float* modelview;   // column-major 4x4, the top of the model-view stack
    uint32_t projectionVersion;
    const float* projection;  // column-major 4x4, the top of the projection stack

    // Switches, compared value by value: a list that enables texturing and disables it again
    // leaves nothing to send before the next list's draw.
    bool lighting;            // GL_LIGHTING and GL_LIGHT0 together
    bool texturing;
    bool fog;
    bool normalize;

    uint32_t shadingVersion;  // every field from here to fogColour
    float colour[4];          // the current colour: the vertex colour when unlit
    float materialAmbient[4];
    float materialDiffuse[4];  // its alpha is a lit vertex's alpha
    float materialEmission[4];
    float sceneAmbient[4];
    float lightAmbient[4];
    float lightDiffuse[4];
    float lightPosition[4];   // eye coordinates
    float fogStart, fogEnd;   // eye-space distances
    float fogColour[4];

    // Raster state, compared value by value.
    bool depthTest, cullFace, blend;
    uint32_t depthFunc, cullMode, blendSource, blendDestination;  // GL enum values
    int32_t viewport[4];      // x, y, width, height
    uint32_t texture;         // the texture to sample as backendCreateTexture named it, 0 for none
    float textureRect[4];     // where the bound picture lies in it: s and t offsets, then s and t
                              // scales (0, 0, 1, 1 for the whole texture); compared value by value
};

// How the backend stops on a failure of its own (a shader or a program that WebGL refuses): the
// report names what failed and a value, and never returns. The layer hands it over before it
// calls anything else of the backend.
typedef void (*BackendFailureReport)(const char* what, unsigned value);
void backendReportFailuresTo(BackendFailureReport report);

// The vertices of every list compiled so far; called before the first draw after lists changed.
void backendUploadVertices(const Gl11Vertex* vertices, size_t count);

// One triangle strip of uploaded vertices. In Chromium, in a frame of thousands of draws, the
// backend flushes every so many of them; that changes nothing drawn.
void backendDrawStrip(const Gl11DrawState& state, int32_t firstVertex, int32_t vertexCount);

// Clears the colour and/or depth buffers (mask as glClear's) to these values; a frame's draws
// are counted from its clear.
void backendClear(uint32_t mask, const float colour[4], double depth);

// The context was lost and is back: every buffer, program and texture the backend made is gone
// and WebGL's state is its initial one. The backend forgets them all; the layer then makes its
// textures and uploads its vertices again.
void backendForgetContext();

uint32_t backendCreateTexture();
void backendDeleteTexture(uint32_t texture);
// pname and param are GL enum values the layer has checked; GL_CLAMP arrives as GL_CLAMP.
void backendTextureParameter(uint32_t texture, uint32_t pname, int32_t param);
// Level 0, GL_RGBA bytes, rows aligned to `alignment` bytes.
void backendTextureImage(uint32_t texture, int32_t width, int32_t height, int32_t alignment,
                         const void* pixels);
