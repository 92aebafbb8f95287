// Small value types shared by the scene's geometry and simulation.
#pragma once

struct Vec3 {
    float x;
    float y;
    float z;
};

struct TexCoord {
    float s;
    float t;
};
