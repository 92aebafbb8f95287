// The frame-rate display's font and drawing. The font is our own 5x7 pixel font for the few
// characters the display uses, laid into one alpha texture of 8x8 cells; each character is one
// textured quad, drawn twice: a black shadow, then white.
#include "scene/frame_rate_overlay.h"

#include "scene/gl_api.h"

struct Glyph {
    char character;
    uint8_t rows[7];  // top row first; bit 4 is the leftmost of five columns
};

static const Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
};

static struct {
    GLuint texture;  // 0 until made
} gOverlay;

static const int kGlyphCount = sizeof kGlyphs / sizeof kGlyphs[0];
static const int kCellTexels = 8;
static const int kGlyphColumns = 5;
static const int kGlyphRows = 7;
static const int kAtlasWidthTexels = 128;  // 16 cells a row; both sides powers of two for GL 1.1
static const int kAtlasHeightTexels = 16;  // two rows of cells
static const int kCellsPerAtlasRow = kAtlasWidthTexels / kCellTexels;
static const int kAdvanceTexels = 6;       // five columns and a gap
static const int kLineTexels = 9;          // seven rows and two of leading
static const int kScale = 2;               // screen pixels per texel
static const int kMarginPixels = 8;        // from the view's left and bottom edges
static const int kShadowOffsetPixels = 2;
static const GLubyte kOpaque = 255;

static void drawGlyphIntoAtlas(GLubyte* atlas, int cell, const Glyph& glyph) {
    const int left = (cell % kCellsPerAtlasRow) * kCellTexels;
    const int top = (cell / kCellsPerAtlasRow) * kCellTexels;
    for (int row = 0; row < kGlyphRows; ++row) {
        for (int column = 0; column < kGlyphColumns; ++column) {
            if (glyph.rows[row] & (0x10 >> column)) {
                atlas[(top + row) * kAtlasWidthTexels + left + column] = kOpaque;
            }
        }
    }
}

void createFrameRateOverlay() {
    static GLubyte atlas[kAtlasWidthTexels * kAtlasHeightTexels];  // rows of 128 bytes: aligned
    for (int cell = 0; cell < kGlyphCount; ++cell) drawGlyphIntoAtlas(atlas, cell, kGlyphs[cell]);
    glGenTextures(1, &gOverlay.texture);
    glBindTexture(GL_TEXTURE_2D, gOverlay.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kAtlasWidthTexels, kAtlasHeightTexels, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, atlas);
    glBindTexture(GL_TEXTURE_2D, 0);
}

static int glyphCell(char character) {
    for (int cell = 0; cell < kGlyphCount; ++cell) {
        if (kGlyphs[cell].character == character) return cell;
    }
    return -1;  // a blank, or a character the font lacks
}

// One character's quad with its lower left corner at (x, y) pixels.
static void drawCharacter(int cell, float x, float y) {
    const int left = (cell % kCellsPerAtlasRow) * kCellTexels;
    const int top = (cell / kCellsPerAtlasRow) * kCellTexels;
    const float s = static_cast<float>(left) / kAtlasWidthTexels;
    const float t = static_cast<float>(top) / kAtlasHeightTexels;
    const float width = static_cast<float>(kGlyphColumns * kScale);
    const float height = static_cast<float>(kGlyphRows * kScale);
    const float sRight = s + static_cast<float>(kGlyphColumns) / kAtlasWidthTexels;
    const float tBottom = t + static_cast<float>(kGlyphRows) / kAtlasHeightTexels;
    glTexCoord2f(s, tBottom);
    glVertex2f(x, y);
    glTexCoord2f(sRight, tBottom);
    glVertex2f(x + width, y);
    glTexCoord2f(sRight, t);
    glVertex2f(x + width, y + height);
    glTexCoord2f(s, t);
    glVertex2f(x, y + height);
}

static int lineCount(const char* text) {
    int lines = 1;
    for (const char* c = text; *c; ++c) lines += *c == '\n';
    return lines;
}

// The text with its first line on top, its last line's baseline at (x, y).
static void drawText(const char* text, float x, float y) {
    float penX = x;
    float penY = y + static_cast<float>((lineCount(text) - 1) * kLineTexels * kScale);
    glBegin(GL_QUADS);
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') {
            penX = x;
            penY -= static_cast<float>(kLineTexels * kScale);
            continue;
        }
        const int cell = glyphCell(*c);
        if (cell >= 0) drawCharacter(cell, penX, penY);
        penX += static_cast<float>(kAdvanceTexels * kScale);
    }
    glEnd();
}

// State set here and given back by the attribute stack and the matrix pushes: lighting, fog,
// depth test, culling and blending enables, the blend function, the bound texture and its
// environment, and both matrices.
void drawFrameRateOverlay(const char* text, int32_t viewWidthPixels, int32_t viewHeightPixels) {
    if (!gOverlay.texture || !text[0]) return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, gOverlay.texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, viewWidthPixels, 0.0, viewHeightPixels, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float x = kMarginPixels, y = kMarginPixels;
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    drawText(text, x + kShadowOffsetPixels, y - kShadowOffsetPixels);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawText(text, x, y);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void releaseFrameRateOverlay() {
    if (!gOverlay.texture) return;
    glDeleteTextures(1, &gOverlay.texture);
    gOverlay.texture = 0;
}
