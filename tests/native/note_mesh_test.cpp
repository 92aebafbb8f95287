#include "scene/note_mesh.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(RotateVector, TurnsRightHandedAboutEachAxisInTheOrderXYZ) {
    Vec3 v = {1.0f, 0.0f, 0.0f};
    rotateVector(v, 0.0f, 0.0f, 90.0f);
    EXPECT_NEAR(0.0f, v.x, 1e-6f);
    EXPECT_NEAR(1.0f, v.y, 1e-6f);
    v = {0.0f, 1.0f, 0.0f};
    rotateVector(v, 90.0f, 0.0f, 0.0f);
    EXPECT_NEAR(1.0f, v.z, 1e-6f);
    v = {0.0f, 0.0f, 1.0f};
    rotateVector(v, 0.0f, 90.0f, 0.0f);
    EXPECT_NEAR(1.0f, v.x, 1e-6f);
    // x first, then y: (0,1,0) -> (0,0,1) -> (1,0,0); the other order would leave (0,1,0)->(0,1,0).
    v = {0.0f, 1.0f, 0.0f};
    rotateVector(v, 90.0f, 90.0f, 0.0f);
    EXPECT_NEAR(1.0f, v.x, 1e-6f);
    EXPECT_NEAR(0.0f, v.y, 1e-6f);
}

TEST(RotateVector, LeavesTheVectorBitForBitAloneForZeroAngles) {
    Vec3 v = {0.1f, -0.7f, 3.3f};
    rotateVector(v, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(0.1f, v.x);
    EXPECT_EQ(-0.7f, v.y);
    EXPECT_EQ(3.3f, v.z);
}

TEST(NoteMesh, ColumnsOfTheLongestDollarNoteLieOnTheUnitArc) {
    NoteMesh mesh;
    computeNoteMesh(1.6f, 0.65f, mesh);
    EXPECT_NEAR(-0.717356f, mesh.vertices[0].x, 1e-5f);
    EXPECT_NEAR(-0.696707f, mesh.vertices[0].y, 1e-5f);
    EXPECT_NEAR(-0.042093f, mesh.vertices[18].x, 1e-5f);     // column 9
    EXPECT_NEAR(-0.999114f, mesh.vertices[18].y, 1e-5f);
    EXPECT_NEAR(0.717356f, mesh.vertices[38].x, 1e-5f);      // column 19
    EXPECT_NEAR(-0.696707f, mesh.vertices[38].y, 1e-5f);
    EXPECT_NEAR(-mesh.vertices[18].x, mesh.vertices[20].x, 1e-6f);  // 9 and 10 mirror each other
    for (int k = 0; k < kNoteMeshVertices; ++k) {
        const Vec3& v = mesh.vertices[k];
        EXPECT_NEAR(1.0f, std::sqrt(v.x * v.x + v.y * v.y), 1e-6f) << k;  // unit normals too
        EXPECT_EQ(k % 2 == 0 ? 0.325f : -0.325f, v.z) << k;
        EXPECT_FALSE(v.x == 0.0f && v.y == -1.0f) << k;
    }
}

TEST(NoteMesh, TextureRunsAlongTheColumnsTopRowOnTheFarEdge) {
    NoteMesh mesh;
    computeNoteMesh(1.6f, 0.65f, mesh);
    for (int i = 0; i < kNoteMeshColumns; ++i) {
        EXPECT_NEAR(i / 19.0f, mesh.texCoords[2 * i].s, 1e-6f);
        EXPECT_EQ(mesh.texCoords[2 * i].s, mesh.texCoords[2 * i + 1].s);
        EXPECT_EQ(0.0f, mesh.texCoords[2 * i].t);
        EXPECT_EQ(1.0f, mesh.texCoords[2 * i + 1].t);
    }
    EXPECT_EQ(0.0f, mesh.texCoords[0].s);
    EXPECT_EQ(1.0f, mesh.texCoords[38].s);
}

TEST(NoteMesh, EuroNotesSpanTheirOwnAnglesAndWidths) {
    const float widths[] = {1.1f, 1.15f, 1.2f, 1.26f, 1.37f};
    const float heights[] = {0.55f, 0.6f, 0.64f, 0.7f, 0.73f};
    for (int n = 0; n < 5; ++n) {
        NoteMesh mesh;
        computeNoteMesh(widths[n], heights[n], mesh);
        const float half = widths[n] / 2;
        EXPECT_NEAR(-std::sin(half), mesh.vertices[0].x, 1e-5f) << n;
        EXPECT_NEAR(std::sin(half), mesh.vertices[38].x, 1e-5f) << n;
        EXPECT_NEAR(-std::cos(half), mesh.vertices[38].y, 1e-5f) << n;
        EXPECT_FLOAT_EQ(heights[n] / 2, mesh.vertices[0].z) << n;
    }
}
