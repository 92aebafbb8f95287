// The note field's frame work. Expects the camera transform on the model-view stack and fog on;
// leaves the model-view matrix as it found it.
#include "scene/note_field.h"

#include "scene/frame_clock.h"
#include "scene/gl_api.h"
#include "scene/note_motion.h"

// Heading turns the plane of the swing about the vertical; the swing rocks the note along its own
// arc below the pivot.
static void draw(Note& note) {
    note.angles.z = swingDegrees(note.phase, frameTime);
    glPushMatrix();
    glTranslatef(note.position.x, note.position.y, note.position.z);
    glRotatef(note.angles.y, 0.0f, 1.0f, 0.0f);
    glRotatef(note.angles.z, 0.0f, 0.0f, 1.0f);
    glCallList(static_cast<GLuint>(note.listId));
    glPopMatrix();
}

void updateAndDrawNotes(int32_t noteCount) {
    const int32_t count = activeNoteCount(noteCount);
    Note* const notes = notesInUse();
    for (int32_t i = 0; i < count; ++i) {
        update(notes[i], frameDelta);
        draw(notes[i]);
    }
}
