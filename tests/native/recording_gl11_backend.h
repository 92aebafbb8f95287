// A stand-in for the OpenGL 1.1 layer's WebGL backend that records what the layer hands it, so the
// native tests can check the layer's state, matrices and lists without a browser.
#pragma once

#include <utility>
#include <vector>

#include "scene/web/gl11_backend.h"

struct RecordedDraw {
    Gl11DrawState state;
    float modelview[16], projection[16];  // copied: the state points into the layer's stacks
    int32_t firstVertex, vertexCount;
};

// A texture as the backend was last given it.
struct RecordedTexture {
    uint32_t name;
    std::vector<std::pair<uint32_t, int32_t>> parameters;  // pname, param, in the order given
    int32_t width, height, alignment;
    std::vector<uint8_t> pixels;  // the bytes an image of that size and alignment has
};

struct RecordingBackend {
    std::vector<RecordedDraw> draws;
    std::vector<Gl11Vertex> vertices;  // as last uploaded
    std::vector<RecordedTexture> textures;  // in the order made, deleted ones too
    int uploads;
    int clears;
    int forgottenContexts;
};

extern RecordingBackend recordingBackend;
