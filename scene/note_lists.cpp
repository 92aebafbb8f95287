// Compiles the note display lists. Each face is one triangle strip with its own winding, so with
// back faces culled exactly one face shows from either side, and the picture reads unmirrored on
// both. State left behind by a list: the outer face's texture bound, cull mode GL_BACK.
#include "scene/note_lists.h"

#include "scene/gl_api.h"
#include "scene/note_mesh.h"
#include "scene/note_textures.h"

static struct {
    NoteMesh mesh;  // scratch: rewritten for every denomination
} gLists;

struct NoteSize {
    unsigned int firstList;  // = first slot
    float widthUnits;        // along the arc, also the angle in radians
    float heightUnits;
};

// Build order 5, 10, 20, 50, 100; Australian and American notes share one set of sizes.
static const NoteSize kDollarSizes[] = {
    {3, 1.3f, 0.65f}, {5, 1.4f, 0.65f}, {7, 1.48f, 0.65f}, {1, 1.52f, 0.65f}, {9, 1.6f, 0.65f}};
static const NoteSize kEuroSizes[] = {
    {3, 1.1f, 0.55f}, {5, 1.15f, 0.6f}, {7, 1.2f, 0.64f}, {1, 1.26f, 0.7f}, {9, 1.37f, 0.73f}};

// Concave face: seen from the note's axis; its strip starts each column on the z = -H/2 edge.
static void drawInnerFace(const NoteMesh& mesh) {
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = 0; k < kNoteMeshVertices; ++k) {
        const Vec3& v = mesh.vertices[k];
        glNormal3f(-v.x, -v.y, 0.0f);
        glTexCoord2f(mesh.texCoords[k].s, mesh.texCoords[k].t);
        glVertex3f(v.x, v.y, -v.z);
    }
    glEnd();
}

// Convex face: the same surface wound the other way, its picture turned to read from outside.
static void drawOuterFace(const NoteMesh& mesh) {
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = 0; k < kNoteMeshVertices; ++k) {
        const Vec3& v = mesh.vertices[k];
        glNormal3f(v.x, v.y, 0.0f);
        glTexCoord2f(1.0f - mesh.texCoords[k].s, 1.0f - mesh.texCoords[k].t);
        glVertex3f(v.x, v.y, v.z);
    }
    glEnd();
}

static void compileNoteList(unsigned int list, int innerSlot, int outerSlot) {
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, textureSlots[innerSlot]);
    glEnable(GL_TEXTURE_2D);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    drawInnerFace(gLists.mesh);
    glBindTexture(GL_TEXTURE_2D, textureSlots[outerSlot]);
    drawOuterFace(gLists.mesh);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glEndList();
}

void buildNoteListPair(unsigned int firstList, unsigned int secondList, float widthUnits,
                       float heightUnits, int firstSlot, int secondSlot) {
    computeNoteMesh(widthUnits, heightUnits, gLists.mesh);
    compileNoteList(firstList, firstSlot, secondSlot);
    compileNoteList(secondList, secondSlot, firstSlot);
}

void buildNoteLists(int32_t currencyType) {
    if (currencyType < 0 || currencyType > 2) return;
    const NoteSize* sizes = currencyType == 2 ? kEuroSizes : kDollarSizes;
    for (int i = 0; i < 5; ++i) {
        const NoteSize& size = sizes[i];
        buildNoteListPair(size.firstList, size.firstList + 1, size.widthUnits, size.heightUnits,
                          static_cast<int>(size.firstList), static_cast<int>(size.firstList) + 1);
    }
}
