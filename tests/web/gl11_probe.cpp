// gl11_probe.html, the browser half of the light-and-fog test: quads drawn through the OpenGL 1.1
// layer's calls alone (lit, fogged, unlit, lit from behind), each read back at its centre and set
// beside the colour that OpenGL 1.1's lighting and linear-fog equations give for the same state,
// in window.gl11Probe ({cases: [{name, got, want}], done}), levels of 255.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "scene/gl_api.h"
#include "scene/web/webgl_context.h"

namespace {

const int kCanvasPixels = 16;      // square; only its centre pixel is read
const GLuint kQuadList = 1;
// Tiny beside the light's distance (some 4 units), so that the lighting that the layer works out
// at the quad's corners and interpolates is, at the centre, the centre's own within 0.1 of a
// level; the projection scales it up to cover the middle half of the canvas.
const float kQuadHalfSize = 0.001f;
const float kNearDistance = 0.5f, kFarDistance = 20.0f;  // eye units
// The light-model ambient colour. The layer has no glLightModel, so the scene always lights with
// OpenGL's default.
const float kSceneAmbient = 0.2f;

// What one draw sets. Colour material is on, so the current colour is the material's ambient
// and diffuse colour; the light's position is given with the model-view matrix at identity, so
// it is in eye coordinates as written.
struct ProbeCase {
    const char* name;
    bool lighting, fog;
    float depth;  // the quad's distance from the eye along -z, eye units
    float colour[4];
    float emission[4];
    float lightAmbient[4], lightDiffuse[4], lightPosition[4];
    float fogStart, fogEnd;  // eye units
    float fogColour[4];
};

// Each case's values keep every term it checks several levels wide. In the lit cases red comes
// out above 1 before clamping, so the fogged case also tells whether fog blends the clamped colour.
const ProbeCase kCases[] = {
    // A positional light up, right and in front of the quad, about 40 degrees off its normal.
    {"lit", true, false, 4.0f, {0.9f, 0.6f, 0.35f, 1}, {0.5f, 0.08f, 0.04f, 1},
     {0.15f, 0.25f, 0.2f, 1}, {1.0f, 0.7f, 0.8f, 1}, {2, 1.5f, -1, 1}, 2, 7, {0.1f, 0.3f, 0.6f, 1}},
    // The same, fogged two fifths of the way from the fog's start to its end: f = 0.6.
    {"fogged", true, true, 4.0f, {0.9f, 0.6f, 0.35f, 1}, {0.5f, 0.08f, 0.04f, 1},
     {0.15f, 0.25f, 0.2f, 1}, {1.0f, 0.7f, 0.8f, 1}, {2, 1.5f, -1, 1}, 2, 7, {0.1f, 0.3f, 0.6f, 1}},
    // Lighting off: the current colour, whatever the light and emission say.
    {"unlit", false, false, 4.0f, {0.3f, 0.55f, 0.85f, 1}, {0.5f, 0.08f, 0.04f, 1},
     {0.15f, 0.25f, 0.2f, 1}, {1.0f, 0.7f, 0.8f, 1}, {2, 1.5f, -1, 1}, 2, 7, {0.1f, 0.3f, 0.6f, 1}},
    // The light behind the quad (N.L about -0.94): no diffuse term, never a negative one.
    {"lit from behind", true, false, 4.0f, {0.9f, 0.6f, 0.35f, 1}, {0.1f, 0.08f, 0.04f, 1},
     {0.15f, 0.25f, 0.2f, 1}, {1.0f, 0.7f, 0.8f, 1}, {1, 0.5f, -7, 1}, 2, 7, {0.1f, 0.3f, 0.6f, 1}},
};

}  // namespace

// The centre pixel of what the drawing buffer holds now, as red | green << 8 | blue << 16. Read
// in the task that drew it: the buffer is not kept once presented.
EM_JS(int, readPixel, (int x, int y), {
    var pixel = new Uint8Array(4);
    GLctx.readPixels(x, y, 1, 1, GLctx.RGBA, GLctx.UNSIGNED_BYTE, pixel);
    return pixel[0] | (pixel[1] << 8) | (pixel[2] << 16);
});

EM_JS(void, publishCase, (const char* name, int got, float red, float green, float blue), {
    var probe = window.gl11Probe = window.gl11Probe || {cases: []};
    probe.cases.push({name: UTF8ToString(name),
                      got: [got & 255, (got >> 8) & 255, (got >> 16) & 255],
                      want: [red * 255, green * 255, blue * 255]});
});

EM_JS(void, publishDone, (), { (window.gl11Probe = window.gl11Probe || {cases: []}).done = true; });

EM_JS(void, publishFailure, (), { window.gl11Probe = {error: "no WebGL context", done: true}; });

static float clamp01(float value) {
    return value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
}

// OpenGL 1.1's lit colour at the quad's centre (0, 0, -depth), normal +z, for one light without
// attenuation or spot, specular black: emission + scene ambient * ambient + light ambient *
// ambient + max(N.L, 0) * light diffuse * diffuse, clamped, where ambient = diffuse = the colour.
static void litColour(const ProbeCase& c, float (&out)[3]) {
    const float* p = c.lightPosition;
    const float toLight[3] = {p[0] / p[3], p[1] / p[3], p[2] / p[3] + c.depth};
    const float length = std::sqrt(toLight[0] * toLight[0] + toLight[1] * toLight[1] +
                                   toLight[2] * toLight[2]);
    const float nDotL = std::fmax(toLight[2] / length, 0.0f);
    for (int k = 0; k < 3; ++k) {
        out[k] = clamp01(c.emission[k] + kSceneAmbient * c.colour[k] +
                         c.lightAmbient[k] * c.colour[k] + nDotL * c.lightDiffuse[k] * c.colour[k]);
    }
}

// The colour OpenGL 1.1 draws: lit or the current colour, then linear fog by the eye distance,
// f = clamp((end - z) / (end - start)), colour = f * colour + (1 - f) * fog colour.
static void expectedColour(const ProbeCase& c, float (&out)[3]) {
    if (c.lighting) {
        litColour(c, out);
    } else {
        for (int k = 0; k < 3; ++k) out[k] = clamp01(c.colour[k]);
    }
    if (!c.fog) return;
    const float f = clamp01((c.fogEnd - c.depth) / (c.fogEnd - c.fogStart));
    for (int k = 0; k < 3; ++k) out[k] = f * out[k] + (1.0f - f) * c.fogColour[k];
}

// A square facing +x in its own coordinates, so that only a model-view rotation turns it (and
// its normal) towards the eye.
static void compileQuad() {
    const float s = kQuadHalfSize;
    glNewList(kQuadList, GL_COMPILE);
    glNormal3f(1, 0, 0);
    glTexCoord2f(0, 0);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(0, -s, s);
    glVertex3f(0, -s, -s);
    glVertex3f(0, s, s);
    glVertex3f(0, s, -s);
    glEnd();
    glEndList();
}

static void setSwitch(GLenum cap, bool on) {
    if (on) glEnable(cap);
    else glDisable(cap);
}

static void drawCase(const ProbeCase& c) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setSwitch(GL_LIGHTING, c.lighting);
    setSwitch(GL_FOG, c.fog);
    glColor4f(c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, c.emission);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_AMBIENT, c.lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, c.lightDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, c.lightPosition);
    glFogf(GL_FOG_START, c.fogStart);
    glFogf(GL_FOG_END, c.fogEnd);
    glFogfv(GL_FOG_COLOR, c.fogColour);
    glTranslatef(0, 0, -c.depth);
    glRotatef(-90, 0, 1, 0);  // +x onto +z: the quad and its normal face the eye
    glCallList(kQuadList);
}

// What every case shares. The projection is orthographic, so clip-space w stays 1 and only the
// eye-space depth can give fog the quad's distance.
static void setUpView() {
    glViewport(0, 0, kCanvasPixels, kCanvasPixels);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double half = 2.0 * kQuadHalfSize;
    glOrtho(-half, half, -half, half, kNearDistance, kFarDistance);
}

static bool makeProbeContext() {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    return makeSceneContext("#canvas", &context) == SceneContextResult::Made;
}

int main() {
    emscripten_set_canvas_element_size("#canvas", kCanvasPixels, kCanvasPixels);
    if (!makeProbeContext()) {
        publishFailure();
        return 0;
    }
    setUpView();
    compileQuad();
    for (const ProbeCase& c : kCases) {
        drawCase(c);
        float want[3];
        expectedColour(c, want);
        const int got = readPixel(kCanvasPixels / 2, kCanvasPixels / 2);
        publishCase(c.name, got, want[0], want[1], want[2]);
    }
    publishDone();
    return 0;
}
