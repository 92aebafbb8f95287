// Views of one scene on several monitors: each keeps a sky of its own, and a view's notes move by
// the time since its own last frame, however often the others draw.
#include "scene/view_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene/frame_clock.h"
#include "scene/pitch_director.h"
#include "scene/random_generator.h"
#include "settings/saver_settings.h"
#include "tests/native/fake_clock_source.h"
#include "tests/native/scene_at_run_start.h"

static const int64_t kTicksPerSecond = 600;

class Views : public SceneAtRunStart {
protected:
    void SetUp() override {
        SceneAtRunStart::SetUp();
        fakeClock = {true, kTicksPerSecond, 0, 0};
        startFrameClock();
    }
};

// What a frame of the view does to its notes and camera, without drawing them.
static void advanceView(ViewState* view, int32_t viewAngle = FrontOn) {
    exchangeViewState(view);
    advanceFrameClock();
    updatePitch(viewAngle, frameTime);
    Note* notes = notesInUse();
    for (int i = 0; i < kNotePoolSize; ++i) update(notes[i], frameDelta);
    exchangeViewState(view);
}

// The clock moves on by a sixtieth of a second.
static void nextFrameTime() {
    fakeClock.counter += kTicksPerSecond / 60;
}

TEST_F(Views, TheFirstViewContinuesTheSceneAndLaterOnesHaveSkiesOfTheirOwn) {
    skyfold::srand(7);
    const int sceneDraw = skyfold::rand();
    skyfold::srand(7);
    TestView first, second;
    startViewState(&first.state, Random, 0.0, 0.0);
    startViewState(&second.state, Random, 0.0, 0.0);
    EXPECT_EQ(notePool, first.state.notes);
    const Note* mine = first.state.notes;
    const Note* theirs = second.state.notes;
    const int samePlaces = static_cast<int>(
        std::count_if(mine, mine + kNotePoolSize, [&](const Note& note) {
            const Note& other = theirs[&note - mine];
            return note.position.x == other.position.x && note.position.y == other.position.y;
        }));
    EXPECT_LT(samePlaces, kNotePoolSize / 10);
    exchangeViewState(&first.state);
    EXPECT_EQ(sceneDraw, skyfold::rand());  // the second view's seed came from the scene's own
    exchangeViewState(&first.state);
}

TEST_F(Views, AViewThatSkipsFramesLandsWhereOneThatDrewEveryFrameDoes) {
    TestView everyFrame, everyTenth;
    startViewState(&everyFrame.state, FrontOn, 0.0, 0.0);
    startViewState(&everyTenth.state, FrontOn, 0.0, 0.0);
    Note* const always = everyFrame.state.notes;
    for (int i = 0; i < kNotePoolSize; ++i) always[i].position.y = 0.0f;  // no rebirths
    std::copy(always, always + kNotePoolSize, everyTenth.state.notes);
    for (int frame = 1; frame <= 120; ++frame) {
        nextFrameTime();
        advanceView(&everyFrame.state);
        if (frame % 10 == 0) advanceView(&everyTenth.state);
    }
    for (int i = 0; i < kNotePoolSize; ++i) {
        ASSERT_NEAR(always[i].position.y, everyTenth.state.notes[i].position.y, 1e-3f) << i;
        ASSERT_NEAR(always[i].angles.y, everyTenth.state.notes[i].angles.y, 1e-2f) << i;
    }
    EXPECT_LT(always[0].position.y, -1.0f);  // they fell for two seconds
}

// A monitor's cover made again: the view that takes the scene's notes goes on with the last one's
// camera and notes, one frame's time on, and not from where the scene stood at the start.
TEST_F(Views, AViewMadeAgainContinuesWhereTheLastFirstViewLeftOff) {
    const int frames = 20 * 60;
    TestView replaced;
    startViewState(&replaced.state, BottomUp, 0.0, 0.0);
    for (int frame = 1; frame <= frames; ++frame) {
        nextFrameTime();
        advanceView(&replaced.state, BottomUp);
    }
    const float pitch = replaced.state.pitch.pitch;
    const float height = replaced.state.notes[0].position.y;
    const float fall = replaced.state.notes[0].velocity.y / 60.0f;
    endViewState(&replaced.state);

    TestView again;
    startViewState(&again.state, BottomUp, 0.0, 0.0);
    nextFrameTime();
    advanceView(&again.state, BottomUp);
    EXPECT_EQ(pitch, again.state.pitch.pitch);
    EXPECT_NEAR(height + fall, again.state.notes[0].position.y, 1e-3f);
}
