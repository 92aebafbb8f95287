// The note pool and the motion of one note. The pool is filled by static construction, before
// anything else of the program runs, so its first 15,000 random draws are the same in every run.
#include "scene/note_motion.h"

#include <cmath>

#include "scene/random_generator.h"

static struct {
    Note* inUse;  // the pool the frame advances
} gNotes = {notePool};

static const double kTenth = 0.1;
static const double kHundredth = 0.01;
static const float kFirstDropUnits = 5.0f;       // the first arrangement starts a little lower
static const float kSwingAmplitudeDegrees = 35.0f;
static const double kSwingRadiansPerSecond = 1.5707963267948966;  // a 4-second period

// The random value's remainder on division by n, one fresh draw.
static int draw(int n) {
    return skyfold::rand() % n;
}

void respawn(Note& note) {
    note.position.z = static_cast<float>((draw(90) - 45) * kTenth);
    note.position.y = static_cast<float>(draw(300) * kTenth + 15.0);
    note.position.x = static_cast<float>((draw(80) - 40) * kTenth);
    note.velocity.z = static_cast<float>((draw(80) - 40) * kHundredth);
    note.velocity.y = static_cast<float>(-(draw(150) * kHundredth + 0.75));
    note.velocity.x = static_cast<float>((draw(80) - 40) * kHundredth);
    note.angles = {0.0f, static_cast<float>(draw(360)), 0.0f};
    note.angularVelocity = {0.0f, static_cast<float>((draw(2500) - 1250) * kHundredth), 0.0f};
    note.phase = static_cast<float>(draw(20));
    note.listId = draw(10) + 1;
}

Note::Note() {
    respawn(*this);
    position.y -= kFirstDropUnits;
}

Note notePool[kNotePoolSize];

Note* notesInUse() {
    return gNotes.inUse;
}

Note* exchangeNotePool(Note* next) {
    Note* const previous = gNotes.inUse;
    gNotes.inUse = next;
    return previous;
}

void update(Note& note, float frameDeltaSeconds) {
    note.position.x += frameDeltaSeconds * note.velocity.x;
    note.position.y += frameDeltaSeconds * note.velocity.y;
    note.position.z += frameDeltaSeconds * note.velocity.z;
    note.angles.x += frameDeltaSeconds * note.angularVelocity.x;
    note.angles.y += frameDeltaSeconds * note.angularVelocity.y;
    note.angles.z += frameDeltaSeconds * note.angularVelocity.z;
    if (note.position.y < kRespawnBelowUnits) respawn(note);
}

float swingDegrees(float phaseSeconds, float frameTimeSeconds) {
    return static_cast<float>(kSwingAmplitudeDegrees *
                              std::cos((frameTimeSeconds - phaseSeconds) * kSwingRadiansPerSecond));
}

int32_t activeNoteCount(int32_t storedNoteCount) {
    return storedNoteCount > kNotePoolSize ? kNotePoolSize : storedNoteCount;
}
