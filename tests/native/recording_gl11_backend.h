// A stand-in for the OpenGL 1.1 layer's WebGL backend that records what the layer hands it, so the
// native tests can check the layer's state, matrices and lists without a browser.
#pragma once

#include <vector>

#include "scene/web/gl11_backend.h"

struct RecordedDraw {
    Gl11DrawState state;
    float modelview[16], projection[16];  // copied: the state points into the layer's stacks
    int32_t firstVertex, vertexCount;
};

struct RecordingBackend {
    std::vector<RecordedDraw> draws;
    std::vector<Gl11Vertex> vertices;  // as last uploaded
    int uploads;
    int clears;
};

extern RecordingBackend recordingBackend;
