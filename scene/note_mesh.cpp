// Note geometry: rotations in single precision, exactly as the lists are built from them, so that
// every build produces the same vertices.
#include "scene/note_mesh.h"

#include <cmath>

static const double kRadiansPerDegree = 0.017453292519943295;
static const float kDegreesPerRadian = 57.29578f;
static const double kColumnFraction = 1.0 / 19.0;  // one segment of the 19 between 20 columns

void rotateVector(Vec3& v, float degreesX, float degreesY, float degreesZ) {
    if (degreesX == 0.0f && degreesY == 0.0f && degreesZ == 0.0f) return;
    const float alpha = static_cast<float>(degreesX * kRadiansPerDegree);
    const float beta = static_cast<float>(degreesY * kRadiansPerDegree);
    const float gamma = static_cast<float>(degreesZ * kRadiansPerDegree);
    if (alpha != 0.0f) {
        const float y = v.y, z = v.z;
        v.y = y * std::cos(alpha) - z * std::sin(alpha);
        v.z = y * std::sin(alpha) + z * std::cos(alpha);
    }
    if (beta != 0.0f) {
        const float x = v.x, z = v.z;
        v.x = x * std::cos(beta) + z * std::sin(beta);
        v.z = z * std::cos(beta) - x * std::sin(beta);
    }
    if (gamma != 0.0f) {
        const float x = v.x, y = v.y;
        v.x = x * std::cos(gamma) - y * std::sin(gamma);
        v.y = x * std::sin(gamma) + y * std::cos(gamma);
    }
}

void computeNoteMesh(float widthUnits, float heightUnits, NoteMesh& mesh) {
    const float halfHeight = static_cast<float>(heightUnits * 0.5);
    const float widthDegrees = widthUnits * kDegreesPerRadian;
    const float startDegrees = static_cast<float>(-(widthDegrees * 0.5));
    const double stepDegrees = widthDegrees * kColumnFraction;
    for (int i = 0; i < kNoteMeshColumns; ++i) {
        Vec3 v = {0.0f, -1.0f, halfHeight};
        rotateVector(v, 0.0f, 0.0f, startDegrees);
        rotateVector(v, 0.0f, 0.0f, static_cast<float>(i * stepDegrees));
        const float u = static_cast<float>(i * kColumnFraction);
        mesh.vertices[2 * i] = {v.x, v.y, halfHeight};
        mesh.texCoords[2 * i] = {u, 0.0f};
        mesh.vertices[2 * i + 1] = {v.x, v.y, -halfHeight};
        mesh.texCoords[2 * i + 1] = {u, 1.0f};
    }
}
