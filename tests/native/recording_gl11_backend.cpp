// The recording backend of the OpenGL 1.1 layer's tests: keeps every draw with a copy of its state.
#include "tests/native/recording_gl11_backend.h"

#include <cstring>

RecordingBackend recordingBackend;

void backendReportFailuresTo(BackendFailureReport) {}  // this stand-in never fails

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

void backendForgetContext() {
    ++recordingBackend.forgottenContexts;
}

static RecordedTexture& recorded(uint32_t texture) {
    return recordingBackend.textures.at(texture - 1);
}

uint32_t backendCreateTexture() {
    RecordedTexture texture = {};
    texture.name = static_cast<uint32_t>(recordingBackend.textures.size() + 1);
    recordingBackend.textures.push_back(texture);
    return texture.name;
}

void backendDeleteTexture(uint32_t) {}

void backendTextureParameter(uint32_t texture, uint32_t pname, int32_t param) {
    recorded(texture).parameters.emplace_back(pname, param);
}

void backendTextureImage(uint32_t texture, int32_t width, int32_t height, int32_t alignment,
                         const void* pixels) {
    RecordedTexture& image = recorded(texture);
    image.width = width;
    image.height = height;
    image.alignment = alignment;
    const size_t row = static_cast<size_t>(width) * 4;
    const size_t paddedRow = (row + alignment - 1) / alignment * alignment;
    const size_t bytes = height ? paddedRow * (height - 1) + row : 0;
    const uint8_t* from = static_cast<const uint8_t*>(pixels);
    image.pixels.assign(from, from ? from + bytes : from);
}
