// The recording backend of the OpenGL 1.1 layer's tests: keeps every draw with a copy of its state.
#include "tests/native/recording_gl11_backend.h"

#include <cstring>

RecordingBackend recordingBackend;

void backendUploadVertices(const Gl11Vertex* vertices, size_t count) {
    recordingBackend.vertices.assign(vertices, vertices + count);
    ++recordingBackend.uploads;
}

void backendDrawStrip(const Gl11DrawState& state, int32_t firstVertex, int32_t vertexCount) {
    RecordedDraw draw;
    draw.state = state;
    std::memcpy(draw.modelview, state.modelview, sizeof draw.modelview);
    std::memcpy(draw.projection, state.projection, sizeof draw.projection);
    draw.firstVertex = firstVertex;
    draw.vertexCount = vertexCount;
    recordingBackend.draws.push_back(draw);
}

void backendClear(uint32_t, const float*, double) {
    ++recordingBackend.clears;
}

uint32_t backendCreateTexture() {
    static uint32_t lastName = 0;
    return ++lastName;
}

void backendDeleteTexture(uint32_t) {}
void backendTextureParameter(uint32_t, uint32_t, int32_t) {}
void backendTextureImage(uint32_t, int32_t, int32_t, int32_t, const void*) {}
