#include "scene/note_motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/random_generator.h"
#include "tests/native/scene_at_run_start.h"

class NotePool : public SceneAtRunStart {};

// The pool is filled before main() from the unseeded generator, so these are the same in every run.
TEST_F(NotePool, FirstTwoNotesAreTheKnownFirstArrangement) {
    const Note& n0 = notePool[0];
    EXPECT_FLOAT_EQ(-2.6f, n0.position.x);
    EXPECT_FLOAT_EQ(26.7f, n0.position.y);
    EXPECT_FLOAT_EQ(-0.4f, n0.position.z);
    EXPECT_FLOAT_EQ(0.04f, n0.velocity.x);
    EXPECT_FLOAT_EQ(-1.94f, n0.velocity.y);
    EXPECT_FLOAT_EQ(-0.2f, n0.velocity.z);
    EXPECT_EQ(318.0f, n0.angles.y);
    EXPECT_FLOAT_EQ(6.08f, n0.angularVelocity.y);
    EXPECT_EQ(2.0f, n0.phase);
    EXPECT_EQ(5, n0.listId);

    const Note& n1 = notePool[1];
    EXPECT_FLOAT_EQ(-3.9f, n1.position.x);
    EXPECT_FLOAT_EQ(34.5f, n1.position.y);
    EXPECT_FLOAT_EQ(-1.0f, n1.position.z);
    EXPECT_FLOAT_EQ(-0.29f, n1.velocity.x);
    EXPECT_FLOAT_EQ(-1.36f, n1.velocity.y);
    EXPECT_FLOAT_EQ(-0.13f, n1.velocity.z);
    EXPECT_EQ(115.0f, n1.angles.y);
    EXPECT_FLOAT_EQ(6.92f, n1.angularVelocity.y);
    EXPECT_EQ(7.0f, n1.phase);
    EXPECT_EQ(7, n1.listId);
}

// Nothing but the pool had drawn when the process started.
TEST_F(NotePool, TookTheFirst15000DrawsOfTheUnseededGenerator) {
    const int firstAfterThePool = skyfold::rand();
    skyfold::srand(1);
    for (int i = 0; i < kNotePoolSize * 10; ++i) skyfold::rand();
    EXPECT_EQ(skyfold::rand(), firstAfterThePool);
}

TEST_F(NotePool, WholePoolStartsBetween10And40UnitsUpAndOtherwiseAsRespawned) {
    for (const Note& note : notePool) {
        ASSERT_GE(note.position.y, 9.999f);
        ASSERT_LE(note.position.y, 39.901f);
        ASSERT_GE(note.listId, 1);
        ASSERT_LE(note.listId, 10);
    }
}

struct Range {
    float low, high;
    void widen(float v) { low = std::min(low, v); high = std::max(high, v); }
};

TEST(Respawn, CoversExactlyTheDocumentedRangesWithTenDraws) {
    skyfold::srand(2024);
    Range px{1e9f, -1e9f}, py = px, pz = px, vx = px, vy = px, vz = px, heading = px, turn = px,
          phase = px, list = px;
    Note note;
    for (int i = 0; i < 200000; ++i) {
        respawn(note);
        px.widen(note.position.x); py.widen(note.position.y); pz.widen(note.position.z);
        vx.widen(note.velocity.x); vy.widen(note.velocity.y); vz.widen(note.velocity.z);
        heading.widen(note.angles.y); turn.widen(note.angularVelocity.y);
        phase.widen(note.phase); list.widen(static_cast<float>(note.listId));
        ASSERT_EQ(0.0f, note.angles.x);
        ASSERT_EQ(0.0f, note.angles.z);
        ASSERT_EQ(0.0f, note.angularVelocity.x);
        ASSERT_EQ(0.0f, note.angularVelocity.z);
        ASSERT_EQ(std::floor(note.phase), note.phase);
    }
    EXPECT_FLOAT_EQ(-4.0f, px.low);   EXPECT_FLOAT_EQ(3.9f, px.high);
    EXPECT_FLOAT_EQ(15.0f, py.low);   EXPECT_FLOAT_EQ(44.9f, py.high);
    EXPECT_FLOAT_EQ(-4.5f, pz.low);   EXPECT_FLOAT_EQ(4.4f, pz.high);
    EXPECT_FLOAT_EQ(-0.4f, vx.low);   EXPECT_FLOAT_EQ(0.39f, vx.high);
    EXPECT_FLOAT_EQ(-2.24f, vy.low);  EXPECT_FLOAT_EQ(-0.75f, vy.high);
    EXPECT_FLOAT_EQ(-0.4f, vz.low);   EXPECT_FLOAT_EQ(0.39f, vz.high);
    EXPECT_EQ(0.0f, heading.low);     EXPECT_EQ(359.0f, heading.high);
    EXPECT_FLOAT_EQ(-12.5f, turn.low); EXPECT_FLOAT_EQ(12.49f, turn.high);
    EXPECT_EQ(0.0f, phase.low);       EXPECT_EQ(19.0f, phase.high);
    EXPECT_EQ(1.0f, list.low);        EXPECT_EQ(10.0f, list.high);

    // Exactly ten draws a respawn: the sequence then continues where ten draws leave it.
    skyfold::srand(77);
    for (int i = 0; i < 10; ++i) skyfold::rand();
    const int eleventh = skyfold::rand();
    skyfold::srand(77);
    respawn(note);
    EXPECT_EQ(eleventh, skyfold::rand());
}

static Note fallingNote(float y, float fallPerSecond) {
    Note note = notePool[0];
    note.position = {1.0f, y, 2.0f};
    note.velocity = {0.5f, -fallPerSecond, -0.25f};
    note.angles = {0.0f, 350.0f, 0.0f};
    note.angularVelocity = {0.0f, 20.0f, 0.0f};
    return note;
}

TEST(Update, MovesByTheTimeStepAndRespawnsOnlyBelowMinus15) {
    Note note = fallingNote(-14.0f, 1.0f);
    update(note, 1.0f);
    EXPECT_EQ(-15.0f, note.position.y);        // exactly at the boundary: kept
    EXPECT_FLOAT_EQ(1.5f, note.position.x);
    EXPECT_FLOAT_EQ(1.75f, note.position.z);
    EXPECT_FLOAT_EQ(370.0f, note.angles.y);     // the heading is never wrapped

    Note below = fallingNote(-14.0f, 1.0f);
    update(below, 1.0001f);
    EXPECT_GE(below.position.y, 15.0f);         // reborn above the view
}

TEST(Update, AHugeStepRespawnsFromScratchWithoutCarryingTheExcess) {
    for (float step : {1000.0f, 1e6f, 3.4e38f}) {
        Note note = fallingNote(10.0f, 2.0f);
        update(note, step);
        EXPECT_GE(note.position.y, 15.0f) << step;
        EXPECT_LE(note.position.y, 44.9f) << step;
        EXPECT_TRUE(std::isfinite(note.position.x)) << step;
    }
}

TEST(Swing, Rocks35DegreesEitherWayWithAFourSecondPeriod) {
    EXPECT_FLOAT_EQ(35.0f, swingDegrees(3.0f, 3.0f));
    EXPECT_NEAR(0.0f, swingDegrees(3.0f, 4.0f), 1e-5f);
    EXPECT_FLOAT_EQ(-35.0f, swingDegrees(3.0f, 5.0f));
    for (float t = 0.0f; t < 20.0f; t += 0.37f) {
        EXPECT_NEAR(swingDegrees(2.0f, t), swingDegrees(2.0f, t + 4.0f), 1e-3f);
        EXPECT_NEAR(swingDegrees(1.0f, t), swingDegrees(13.0f, t), 1e-3f);  // phases 12 apart
        EXPECT_LE(std::fabs(swingDegrees(5.0f, t)), 35.0f);
    }
}

TEST(NoteCount, NeverReachesPastThePool) {
    EXPECT_EQ(1500, activeNoteCount(1500));
    EXPECT_EQ(1500, activeNoteCount(1501));
    EXPECT_EQ(1500, activeNoteCount(2147483647));
    EXPECT_EQ(200, activeNoteCount(200));
    EXPECT_LE(activeNoteCount(0), 0);
    EXPECT_LE(activeNoteCount(-7), 0);
}
