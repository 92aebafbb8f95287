// Geometry of one banknote: a strip of 20 columns bent along its length on a cylinder of radius 1
// about its local z axis, its middle one unit below the origin. Pure arithmetic; the display
// lists are compiled from it elsewhere.
#pragma once

#include "scene/scene_types.h"

const int kNoteMeshColumns = 20;
const int kNoteMeshVertices = 2 * kNoteMeshColumns;  // per face: one triangle strip

struct NoteMesh {
    Vec3 vertices[kNoteMeshVertices];      // 2i on the z = +H/2 edge, 2i+1 on the z = -H/2 edge
    TexCoord texCoords[kNoteMeshVertices];
};

// Rotates v in place about x, then y, then z; angles in degrees.
void rotateVector(Vec3& v, float degreesX, float degreesY, float degreesZ);

// Columns of a note of arc length (= angle in radians) widthUnits and width heightUnits along z.
void computeNoteMesh(float widthUnits, float heightUnits, NoteMesh& mesh);
