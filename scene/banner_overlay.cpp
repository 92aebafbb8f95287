// Drawing the banner: list 11 holds the quad with the state it needs (full emission, half alpha,
// blending, no depth test) and undoes that state itself, except for the half-transparent colour,
// which the next frame resets.
#include "scene/banner_overlay.h"

#include "scene/banner_motion.h"
#include "scene/frame_clock.h"
#include "scene/gl_api.h"
#include "scene/note_textures.h"
#include "scene/render_state.h"
#include "scene/scene_view.h"

static struct {
    float viewPixelsPerBannerPixel;
} gOverlay = {1.0f};

static const GLfloat kBannerAlpha = 0.5f;

// Whole banner pixels only, so that a banner placed flush right never passes the edge.
static int32_t inBannerPixels(int32_t viewPixels) {
    return static_cast<int32_t>(static_cast<float>(viewPixels) / gOverlay.viewPixelsPerBannerPixel);
}

void setBannerScale(float viewPixelsPerBannerPixel) {
    if (!(viewPixelsPerBannerPixel > 0.0f)) return;
    const int32_t oldWidth = inBannerPixels(viewWidth);
    gOverlay.viewPixelsPerBannerPixel = viewPixelsPerBannerPixel;
    keepBannerInView(oldWidth, inBannerPixels(viewWidth));
}

void keepBannerOverlayInView(int32_t oldWidthPixels, int32_t newWidthPixels) {
    keepBannerInView(inBannerPixels(oldWidthPixels), inBannerPixels(newWidthPixels));
}

void compileBannerList() {
    static const GLfloat kFullEmission[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat kNoEmission[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glNewList(kBannerList, GL_COMPILE);
    glMaterialfv(GL_FRONT, GL_EMISSION, kFullEmission);
    glColor4f(1.0f, 1.0f, 1.0f, kBannerAlpha);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, textureSlots[kBannerTextureSlot]);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_TRIANGLE_STRIP);  // texture row 0 is the picture's top: t = 0 at the top edge
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(kBannerWidthPixels, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, kBannerHeightPixels, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(kBannerWidthPixels, kBannerHeightPixels, 0.0f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glMaterialfv(GL_FRONT, GL_EMISSION, kNoEmission);
    glEndList();
}

void drawBanner() {
    const BannerPlacement at =
        advanceBanner(frameTime, inBannerPixels(viewWidth), inBannerPixels(viewHeight));
    const double scale = gOverlay.viewPixelsPerBannerPixel;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, viewWidth / scale, 0.0, viewHeight / scale, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(at.x, at.y, 0.0f);
    glCallList(kBannerList);
    glPopMatrix();
}
