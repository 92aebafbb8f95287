// The scene's display lists, textures and frame order on a real OpenGL context (Mesa under Wine):
// what the note lists draw and from which side, how the pictures read, fog, the banner's blending,
// and how a preview frame ends.
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "scene/frame_clock.h"
#include "scene/note_lists.h"
#include "scene/note_textures.h"
#include "scene/pitch_director.h"
#include "scene/random_generator.h"
#include "scene/render_state.h"
#include "scene/win32/scene_surface.h"
#include "scene/scene_view.h"
#include "settings/saver_settings.h"
#include "tests/win32/win32_test_support.h"

static const int kViewPixels = 256;

// A window with the scene's kind of pixel format and a current rendering context, one per process.
static bool makeContextCurrent() {
    static bool ready = false;
    if (ready) return true;
    const HWND window = createPlainWindow(kViewPixels, kViewPixels, true);
    const HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format = scenePixelFormat();
    format.cColorBits = 24;  // full 8-bit channels, so that pixel reads compare exactly
    SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format);
    ready = wglMakeCurrent(dc, wglCreateContext(dc)) != FALSE;
    return ready;
}

// A 2x2 picture: top-left, top-right, bottom-left, bottom-right (RGBA, top row first).
static void fillTexture(GLuint name, const uint32_t (&rgba)[4]) {
    uint8_t texels[16];
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 4; ++c) texels[4 * i + c] = static_cast<uint8_t>(rgba[i] >> (24 - 8 * c));
    }
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

static const uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF,
                      kYellow = 0xFFFF00FF, kWhite = 0xFFFFFFFF;
static const uint32_t kQuadrants[4] = {kRed, kGreen, kBlue, kYellow};
static const uint32_t kQuadrantsDark[4] = {0x800000FF, 0x008000FF, 0x000080FF, 0x808000FF};

static uint32_t pixelAt(double x, double y) {
    uint8_t rgb[3];
    glReadPixels(static_cast<GLint>(x), static_cast<GLint>(y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return (rgb[0] << 24) | (rgb[1] << 16) | (rgb[2] << 8) | 0xFF;
}

// Window position of a model point under the current matrices.
static void project(double x, double y, double z, double* wx, double* wy) {
    GLdouble model[16], projection[16], wz;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, wx, wy, &wz);
}

class SceneGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(makeContextCurrent());
        exchangePitchState(PitchState{});  // a level camera, as at a run's start
        viewWidth = viewHeight = kViewPixels;
        glReadBuffer(GL_BACK);
        glDisable(GL_LIGHTING);
        glDisable(GL_FOG);
        glColor4f(1, 1, 1, 1);
        glClearColor(0, 0, 0, 0);
    }

    // Looks at the middle of a note (0, -1, 0) from above (the concave side) or below.
    static void lookAtNote(bool fromAbove) {
        setViewProjection(kViewPixels, kViewPixels);
        gluLookAt(0, fromAbove ? 3 : -5, 0, 0, -1, 0, 0, 0, -1);   // picture top towards screen top
    }

    // The picture's four quadrants as they appear on screen, read at the note's surface.
    static std::vector<uint32_t> quadrantsSeen(GLuint list, bool fromAbove) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        lookAtNote(fromAbove);
        glCallList(list);
        std::vector<uint32_t> seen;
        const double x = 0.3, y = -0.954, z = 0.15;   // on the arc, inside the 0.65-wide strip
        for (double dz : {-z, z}) {
            for (double dx : {-x, x}) {
                double wx, wy;
                project(dx, y, dz, &wx, &wy);
                seen.push_back(pixelAt(wx, wy));
            }
        }
        // Screen order: top-left, top-right, bottom-left, bottom-right.
        if (!fromAbove) std::swap(seen[0], seen[1]), std::swap(seen[2], seen[3]);
        return seen;
    }

    // The polygons a list sends down the pipeline (after culling), as flat vertex coordinates.
    static std::vector<float> feedback(GLuint list, int* polygons) {
        static GLfloat buffer[100000];
        glFeedbackBuffer(100000, GL_3D, buffer);
        glRenderMode(GL_FEEDBACK);
        glCallList(list);
        const GLint used = glRenderMode(GL_RENDER);
        std::vector<float> vertices;
        *polygons = 0;
        for (GLint i = 0; i < used;) {
            if (buffer[i] == GL_POLYGON_TOKEN) {
                const int count = static_cast<int>(buffer[i + 1]);
                ++*polygons;
                vertices.insert(vertices.end(), buffer + i + 2, buffer + i + 2 + 3 * count);
                i += 2 + 3 * count;
            } else {
                ++i;
            }
        }
        return vertices;
    }
};

static void makeSlots(int first, int second, const uint32_t (&a)[4], const uint32_t (&b)[4]) {
    GLuint names[2];
    glGenTextures(2, names);
    textureSlots[first] = names[0];
    textureSlots[second] = names[1];
    fillTexture(names[0], a);
    fillTexture(names[1], b);
}

TEST_F(SceneGl, EachSideShowsExactlyOneFaceOfThirtyEightTriangles) {
    makeSlots(1, 2, kQuadrants, kQuadrantsDark);
    buildNoteListPair(1, 2, 1.6f, 0.65f, 1, 2);
    int polygons = 0;
    for (bool fromAbove : {true, false}) {
        lookAtNote(fromAbove);
        feedback(1, &polygons);
        EXPECT_EQ(38, polygons) << (fromAbove ? "above" : "below");
    }
    glDisable(GL_CULL_FACE);
}

TEST_F(SceneGl, PicturesReadUnmirroredAndTheSecondListSwapsThem) {
    makeSlots(1, 2, kQuadrants, kQuadrantsDark);
    buildNoteListPair(1, 2, 1.6f, 0.65f, 1, 2);
    const std::vector<uint32_t> bright(kQuadrants, kQuadrants + 4);
    const std::vector<uint32_t> dark(kQuadrantsDark, kQuadrantsDark + 4);
    EXPECT_EQ(bright, quadrantsSeen(1, true));    // list 1: slot 1 inside
    EXPECT_EQ(dark, quadrantsSeen(1, false));     //         slot 2 outside
    EXPECT_EQ(dark, quadrantsSeen(2, true));
    EXPECT_EQ(bright, quadrantsSeen(2, false));
}

TEST_F(SceneGl, DollarCurrenciesShareGeometryAndEurosDoNot) {
    lookAtNote(true);
    std::vector<float> shapes[3];
    for (int currency = 0; currency < 3; ++currency) {
        buildNoteLists(currency);
        for (GLuint list = 1; list <= 10; ++list) {
            int polygons = 0;
            const std::vector<float> v = feedback(list, &polygons);
            EXPECT_EQ(38, polygons) << currency << " " << list;
            shapes[currency].insert(shapes[currency].end(), v.begin(), v.end());
        }
    }
    EXPECT_EQ(shapes[0], shapes[1]);
    EXPECT_NE(shapes[0], shapes[2]);
    glDeleteLists(1, 10);
    buildNoteLists(3);                             // an unknown currency compiles nothing
    for (GLuint list = 1; list <= 10; ++list) EXPECT_FALSE(glIsList(list)) << list;
}

// The scene's own state: fixed light and fog, every list, textures made blank (this program has
// no bitmaps) and then painted by the test.
static void initSceneState(int32_t noteCount, int32_t viewAngle) {
    saverSettings = {noteCount, viewAngle, AustralianDollars};
    initRenderState();
    for (int slot = 1; slot <= 10; ++slot) {
        const uint32_t white[4] = {kWhite, kWhite, kWhite, kWhite};
        fillTexture(textureSlots[slot], white);
    }
}

TEST_F(SceneGl, FogTurnsANoteBlackFrom24UnitsAway) {
    initSceneState(0, FrontOn);
    for (float distance : {12.0f, 30.0f}) {
        glCallList(kProjectionList);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_FOG);
        glPushMatrix();
        glTranslatef(0, 0, 1 - distance);
        glRotatef(90, 1, 0, 0);                    // the concave face towards the eye, its middle
                                                   // `distance` units away
        glCallList(1);
        glPopMatrix();
        glDisable(GL_FOG);
        const uint32_t centre = pixelAt(kViewPixels / 2, kViewPixels / 2);
        if (distance < 20) EXPECT_GT(centre >> 24, 0x40u) << std::hex << centre;
        else EXPECT_EQ(0x000000FFu, centre) << std::hex << centre;
    }
}

TEST_F(SceneGl, BannerHidesKeyedTexelsAndBlendsTheRestAtHalfOpacity) {
    initSceneState(0, FrontOn);
    const uint32_t keyedLeft[4] = {0x00003300, kWhite, 0x00003300, kWhite};
    fillTexture(textureSlots[0], keyedLeft);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kViewPixels, 0, kViewPixels, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glCallList(kBannerList);
    EXPECT_EQ(0x0000FFFFu, pixelAt(64, 16));       // keyed: the blue beneath, untouched
    const uint32_t half = pixelAt(192, 16);
    EXPECT_NEAR(0x80, static_cast<int>(half >> 24), 2);
    EXPECT_NEAR(0x80, static_cast<int>((half >> 16) & 0xFF), 2);
    EXPECT_EQ(0xFFu, (half >> 8) & 0xFF);
    EXPECT_EQ(0x0000FFFFu, pixelAt(64, 40));       // nothing above the 32-pixel quad
}

TEST_F(SceneGl, APreviewFrameEndsAfterTheNotesStillInPerspectiveAndDrawsNothingRandom) {
    initSceneState(0, 9);
    skyfold::srand(9);
    const int first = skyfold::rand();
    skyfold::srand(9);
    scenePreview = true;
    for (float t = 0; t < 120; t += 0.5f) {
        frameTime = t;
        drawFrame();
    }
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(-1.0f, projection[11]);              // perspective
    EXPECT_EQ(first, skyfold::rand());

    scenePreview = false;
    drawFrame();
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(0.0f, projection[11]);               // the banner's orthographic projection
    EXPECT_EQ(1.0f, projection[15]);
}
