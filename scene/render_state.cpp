// Fixed OpenGL state of the scene (light, fog, depth, colour material), the order in which every
// texture and list is built, and the order in which a frame is composed. A frame re-establishes
// only the viewport with both matrices (list 12) and the current colour; every other state change
// is undone by the list or the frame step that makes it.
#include "scene/render_state.h"

#include "scene/banner_motion.h"
#include "scene/banner_overlay.h"
#include "scene/frame_clock.h"
#include "scene/gl_api.h"
#include "scene/note_field.h"
#include "scene/note_lists.h"
#include "scene/note_textures.h"
#include "scene/pitch_director.h"
#include "scene/scene_view.h"
#include "settings/saver_settings.h"

int32_t viewX = 0;
int32_t viewY = 0;
int32_t viewWidth = 0;
int32_t viewHeight = 0;
bool scenePreview = false;

static const double kFieldOfViewDegrees = 45.0;
static const double kNearPlaneUnits = 0.25;
static const double kFarPlaneUnits = 100.0;
static const GLfloat kFogStartUnits = 20.0f;  // notes start fading 10 units behind the field's centre
static const GLfloat kFogEndUnits = 24.0f;    // and are black from here on
static const GLfloat kFogDensity = 0.5f;      // unused by linear fog, set for completeness
static const GLfloat kFieldDistanceUnits = 10.0f;  // the note field turns about (0, 0, -10)
static const int32_t kBannerWidthTexels = 256;
static const int32_t kBannerHeightTexels = 32;
static const int kBannerBitmapId = 101;

static void setLight() {
    static const GLfloat kAmbient[] = {0.0f, 0.0f, 0.0f, 0.0f};
    static const GLfloat kDiffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat kSpecular[] = {0.3f, 0.3f, 0.3f, 1.0f};
    static const GLfloat kPosition[] = {0.0f, 5.0f, 5.0f, 1.0f};  // above and behind the eye
    glLightfv(GL_LIGHT0, GL_AMBIENT, kAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kSpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, kPosition);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

static void setFog() {
    static const GLfloat kFogColor[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, kFogColor);
    glFogf(GL_FOG_DENSITY, kFogDensity);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, kFogStartUnits);
    glFogf(GL_FOG_END, kFogEndUnits);
}

// List 12 records the projection for the view's size; it is not executed here.
static void compileProjectionList() {
    glNewList(kProjectionList, GL_COMPILE);
    setViewProjection(viewWidth, viewHeight);
    glEndList();
}

// Every texture and display list, in the order the lists need them: a list records the texture
// name a slot holds when it is compiled.
static void buildSceneResources() {
    loadBitmapTexture(kBannerBitmapId, kBannerTextureSlot, kBannerWidthTexels, kBannerHeightTexels,
                      true);
    startBanner(frameTime);
    compileBannerList();
    setFog();
    compileProjectionList();
    loadCurrencyTextures(saverSettings.currencyType);
    buildNoteLists(saverSettings.currencyType);
    startInitialTransition(saverSettings.viewAngle, frameTime);
}

void initRenderState() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    setLight();
    buildSceneResources();
    glEnable(GL_NORMALIZE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void setViewProjection(int32_t width, int32_t height) {
    // A client area 0 pixels high shows nothing; any finite aspect will do for it.
    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    glViewport(viewX, viewY, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, aspect, kNearPlaneUnits, kFarPlaneUnits);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void rebuildViewProjection() {
    compileProjectionList();
}

static void composeFrame(bool clears) {
    glCallList(kProjectionList);  // undoes the banner's orthographic projection of the last frame
    updatePitch(saverSettings.viewAngle, frameTime);
    if (clears) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -kFieldDistanceUnits);
    glRotatef(currentPitch, 1.0f, 0.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // also undoes the banner's half-transparent colour
    glEnable(GL_FOG);
    updateAndDrawNotes(saverSettings.noteCount);
    glDisable(GL_FOG);
    glPopMatrix();
    if (!scenePreview) drawBanner();
}

void drawFrame() {
    composeFrame(true);
}

void drawFrameOnCleared() {
    composeFrame(false);
}

void releaseSceneResources() {
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        const GLuint name = textureSlots[slot];
        glDeleteTextures(1, &name);
        textureSlots[slot] = 0;
    }
    for (GLuint list = 1; list <= kLastDisplayList; ++list) glDeleteLists(list, 1);
}
