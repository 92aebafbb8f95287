// The browser's OpenGL 1.1 layer against the OpenGL 1.1 rules: matrix stacks and the matrices
// that glRotatef, glTranslatef, glOrtho and gluPerspective make, display lists replayed in order
// with their geometry compiled once, pictures in one atlas, light and colour-material state, and
// calls it refuses.
#include "scene/web/gl11.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tests/native/recording_gl11_backend.h"

namespace {

struct Point {
    float x, y, z, w;
};

Point transform(const float* m, Point p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12] * p.w,
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13] * p.w,
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14] * p.w,
            m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15] * p.w};
}

// A list that draws one triangle, so that a call of it hands the backend the state of the moment.
const GLuint kTriangleList = 40;

void compileTriangleList() {
    glNewList(kTriangleList, GL_COMPILE);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
    glEndList();
}

const RecordedDraw& drawNow() {
    recordingBackend.draws.clear();
    glCallList(kTriangleList);
    EXPECT_EQ(1u, recordingBackend.draws.size());
    return recordingBackend.draws.back();
}

class Gl11 : public ::testing::Test {
protected:
    void SetUp() override {
        compileTriangleList();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

void expectPoint(Point expected, Point actual) {
    EXPECT_NEAR(expected.x, actual.x, 1e-5f);
    EXPECT_NEAR(expected.y, actual.y, 1e-5f);
    EXPECT_NEAR(expected.z, actual.z, 1e-5f);
    EXPECT_NEAR(expected.w, actual.w, 1e-5f);
}

}  // namespace

TEST_F(Gl11, TransformsComposeInCallOrderOnTheRight) {
    glTranslatef(1.0f, 2.0f, 3.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 2.0f);  // the axis is normalised: a quarter turn about +z
    const RecordedDraw& draw = drawNow();
    // The rotation applies to the vertex first: x becomes y, then the translation.
    expectPoint({1.0f, 3.0f, 3.0f, 1.0f}, transform(draw.modelview, {1.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(Gl11, PushAndPopRestoreTheMatrixOfTheirOwnStack) {
    glTranslatef(0.0f, 0.0f, -10.0f);
    glPushMatrix();
    glRotatef(45.0f, 1.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(5.0f, 0.0f, 0.0f);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    const RecordedDraw& draw = drawNow();
    expectPoint({0.0f, 0.0f, -10.0f, 1.0f}, transform(draw.modelview, {0.0f, 0.0f, 0.0f, 1.0f}));
    expectPoint({1.0f, 0.0f, 0.0f, 1.0f}, transform(draw.projection, {1.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(Gl11, ProjectionsMapTheirVolumesOntoTheUnitCube) {
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 2.0, 0.25, 100.0);
    const float* m = drawNow().projection;
    const double top = 0.25 * std::tan(22.5 * 3.14159265358979 / 180.0);  // at the near plane
    const Point nearCorner = transform(m, {static_cast<float>(2 * top), static_cast<float>(top),
                                           -0.25f, 1.0f});
    expectPoint({1.0f, 1.0f, -1.0f, 1.0f}, {nearCorner.x / nearCorner.w,
                                            nearCorner.y / nearCorner.w,
                                            nearCorner.z / nearCorner.w, 1.0f});
    const Point far = transform(m, {0.0f, 0.0f, -100.0f, 1.0f});
    EXPECT_NEAR(1.0f, far.z / far.w, 1e-5f);

    glLoadIdentity();
    glOrtho(0.0, 1280.0, 0.0, 720.0, -1.0, 1.0);
    const float* box = drawNow().projection;
    expectPoint({-1.0f, -1.0f, 1.0f, 1.0f}, transform(box, {0.0f, 0.0f, -1.0f, 1.0f}));
    expectPoint({1.0f, 1.0f, -1.0f, 1.0f}, transform(box, {1280.0f, 720.0f, 1.0f, 1.0f}));
}

TEST_F(Gl11, ListsReplayTheirStateCallsInOrderAroundTheirGeometry) {
    const GLuint list = 41;
    GLuint textures[2];
    glGenTextures(2, textures);
    recordingBackend.draws.clear();
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glEnable(GL_TEXTURE_2D);
    glCallList(kTriangleList);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glTranslatef(0.0f, 0.0f, -1.0f);
    glCallList(kTriangleList);
    glDisable(GL_TEXTURE_2D);
    glEndList();
    EXPECT_TRUE(recordingBackend.draws.empty()) << "compiling executes nothing";
    glCallList(list);
    ASSERT_EQ(2u, recordingBackend.draws.size());
    const size_t made = recordingBackend.textures.size();  // the backend's names of the two
    EXPECT_EQ(recordingBackend.textures[made - 2].name, recordingBackend.draws[0].state.texture);
    EXPECT_EQ(recordingBackend.textures[made - 1].name, recordingBackend.draws[1].state.texture);
    EXPECT_TRUE(recordingBackend.draws[1].state.texturing);
    EXPECT_FLOAT_EQ(-1.0f, recordingBackend.draws[1].modelview[14]);
    EXPECT_FALSE(drawNow().state.texturing);
}

TEST_F(Gl11, GeometryIsCompiledOnceAndUploadedBeforeItsFirstDraw) {
    drawNow();
    const int uploads = recordingBackend.uploads;
    const RecordedDraw draw = drawNow();
    drawNow();
    EXPECT_EQ(uploads, recordingBackend.uploads);
    ASSERT_EQ(3, draw.vertexCount);
    const Gl11Vertex& corner = recordingBackend.vertices[draw.firstVertex + 1];
    EXPECT_FLOAT_EQ(1.0f, corner.position[0]);
    EXPECT_FLOAT_EQ(1.0f, corner.texCoord[0]);
    EXPECT_FLOAT_EQ(1.0f, corner.normal[2]);
}

// Clamped, filtered pictures are drawn from one atlas, each from its own rectangle with its own
// texels (rows read with their padding) framed by copies of its edge texels, so that consecutive
// draws of different pictures keep one texture; a lost context gets the atlas again.
TEST_F(Gl11, PicturesShareOneAtlasEachInItsOwnFramedRectangle) {
    const int32_t widths[] = {3, 2}, heights[] = {2, 3};
    const int32_t rowBytes[] = {16, 8};  // rows of 12 and 8 bytes, at the alignment of 8 below
    uint8_t texels[2][16 * 2] = {};
    GLuint names[2];
    glGenTextures(2, names);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    for (int k = 0; k < 2; ++k) {
        for (size_t b = 0; b < sizeof texels[k]; ++b) {
            texels[k][b] = static_cast<uint8_t>(b * 5 + k);
        }
        glBindTexture(GL_TEXTURE_2D, names[k]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, widths[k], heights[k], 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels[k]);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glEnable(GL_TEXTURE_2D);
    RecordedDraw draws[2];
    for (int k = 0; k < 2; ++k) {
        glBindTexture(GL_TEXTURE_2D, names[k]);
        draws[k] = drawNow();
    }
    ASSERT_NE(0u, draws[0].state.texture);
    EXPECT_EQ(draws[0].state.texture, draws[1].state.texture);
    const RecordedTexture atlas = recordingBackend.textures.at(draws[0].state.texture - 1);
    for (int k = 0; k < 2; ++k) {
        const float* rect = draws[k].state.textureRect;
        const int32_t left = static_cast<int32_t>(std::lround(rect[0] * atlas.width));
        const int32_t bottom = static_cast<int32_t>(std::lround(rect[1] * atlas.height));
        EXPECT_FLOAT_EQ(static_cast<float>(widths[k]) / atlas.width, rect[2]);
        EXPECT_FLOAT_EQ(static_cast<float>(heights[k]) / atlas.height, rect[3]);
        // Every texel of the picture and of a frame one texel wide, against the clamped texel.
        for (int32_t y = -1; y <= heights[k]; ++y) {
            for (int32_t x = -1; x <= widths[k]; ++x) {
                const int32_t fromX = std::min(std::max(x, 0), widths[k] - 1);
                const int32_t fromY = std::min(std::max(y, 0), heights[k] - 1);
                const uint8_t* want = &texels[k][fromY * rowBytes[k] + fromX * 4];
                const uint8_t* got = &atlas.pixels[((bottom + y) * atlas.width + left + x) * 4];
                EXPECT_EQ(0, std::memcmp(want, got, 4))
                    << "picture " << k << " at " << x << ", " << y;
            }
        }
    }
    gl11RestoreContext();
    glBindTexture(GL_TEXTURE_2D, names[1]);
    const RecordedDraw again = drawNow();
    EXPECT_NE(draws[1].state.texture, again.state.texture);
    EXPECT_EQ(atlas.pixels, recordingBackend.textures.at(again.state.texture - 1).pixels);
    glDisable(GL_TEXTURE_2D);
}

// A lost context comes back with every texture as it was given (its rows padded as they were),
// under the name the lists bind, and the geometry uploaded again; the store empties once no list
// is left, so that building the scene again does not grow it.
TEST_F(Gl11, ANewContextGetsEveryTextureAndTheGeometryAgain) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    uint8_t texels[16 + 12];  // 3x2 RGBA: a 12-byte row padded to 16, then the last row
    for (size_t k = 0; k < sizeof texels; ++k) texels[k] = static_cast<uint8_t>(k * 7);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 3, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glEnable(GL_TEXTURE_2D);
    drawNow();  // the backend's textures are made before the draw that needs them
    const RecordedTexture given = recordingBackend.textures.back();
    texels[0] = 255;  // the caller's buffer is its own again once the call returns
    const int uploads = recordingBackend.uploads;
    const int forgotten = recordingBackend.forgottenContexts;

    gl11RestoreContext();
    EXPECT_EQ(forgotten + 1, recordingBackend.forgottenContexts);
    const RecordedTexture& remade = recordingBackend.textures.back();
    EXPECT_NE(given.name, remade.name);
    EXPECT_EQ(given.parameters, remade.parameters);
    EXPECT_EQ(8, remade.alignment);
    EXPECT_EQ(given.pixels, remade.pixels);
    const RecordedDraw draw = drawNow();
    EXPECT_EQ(remade.name, draw.state.texture);
    EXPECT_EQ(uploads + 1, recordingBackend.uploads);
    glDisable(GL_TEXTURE_2D);

    glDeleteLists(1, 64);
    compileTriangleList();
    drawNow();
    EXPECT_EQ(3u, recordingBackend.vertices.size());
}

TEST_F(Gl11, ALightPositionIsKeptInEyeCoordinatesOfItsMoment) {
    glTranslatef(0.0f, 0.0f, -10.0f);
    const GLfloat position[] = {0.0f, 5.0f, 5.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLoadIdentity();
    const float* light = drawNow().state.lightPosition;
    EXPECT_FLOAT_EQ(5.0f, light[1]);
    EXPECT_FLOAT_EQ(-5.0f, light[2]);
}

// Colour material follows the current colour only while enabled; lighting needs both switches.
TEST_F(Gl11, ShadingStateFollowsItsSwitches) {
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1.0f, 0.5f, 0.25f, 0.5f);
    glDisable(GL_COLOR_MATERIAL);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    const Gl11DrawState& state = drawNow().state;
    EXPECT_FLOAT_EQ(0.5f, state.materialDiffuse[1]);
    EXPECT_FLOAT_EQ(0.5f, state.materialDiffuse[3]);
    EXPECT_FLOAT_EQ(0.25f, state.materialAmbient[2]);
    EXPECT_FALSE(state.lighting);
    glEnable(GL_LIGHT0);
    EXPECT_TRUE(drawNow().state.lighting);
    glDisable(GL_LIGHTING);
}

using Gl11DeathTest = Gl11;

TEST_F(Gl11DeathTest, RefusesWhatItDoesNotImplement) {
    EXPECT_DEATH(glEnable(0x0DE0 /* GL_TEXTURE_1D */), "glEnable");
    EXPECT_DEATH(glFogi(GL_FOG_MODE, GL_EXP), "glFogi");
    EXPECT_DEATH(glBegin(GL_TRIANGLE_STRIP), "outside a list");
    EXPECT_DEATH(glPopMatrix(), "empty stack");
    EXPECT_DEATH(glLightfv(GL_LIGHT0 + 1, GL_DIFFUSE, nullptr), "glLightfv");
    EXPECT_DEATH(
        {
            glNewList(kTriangleList, GL_COMPILE);
            glTexCoord2f(1.5f, 0.0f);  // beyond the picture: its neighbour in the atlas
        },
        "glTexCoord2f outside 0 to 1");
}
