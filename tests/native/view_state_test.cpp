// Views of one scene on several monitors: each keeps a sky of its own, and a view's notes move by
// the time since its own last frame, however often the others draw.
#include "scene/view_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene/frame_clock.h"
#include "scene/random_generator.h"
#include "settings/saver_settings.h"
#include "tests/native/fake_clock_source.h"

static const int64_t kTicksPerSecond = 600;

// What a frame of the view does to its notes, without drawing them.
static void advanceView(ViewState* view) {
    exchangeViewState(view);
    advanceFrameClock();
    Note* notes = notesInUse();
    for (int i = 0; i < kNotePoolSize; ++i) update(notes[i], frameDelta);
    exchangeViewState(view);
}

TEST(ViewState, TheFirstViewContinuesTheSceneAndLaterOnesHaveSkiesOfTheirOwn) {
    skyfold::srand(7);
    const int sceneDraw = skyfold::rand();
    skyfold::srand(7);
    ViewState first, second;
    startViewState(&first, Random, 0.0, 0.0);
    startViewState(&second, Random, 0.0, 0.0);
    EXPECT_EQ(notePool, first.notes);
    const int samePlaces = static_cast<int>(
        std::count_if(first.notes, first.notes + kNotePoolSize, [&](const Note& note) {
            const Note& other = second.notes[&note - first.notes];
            return note.position.x == other.position.x && note.position.y == other.position.y;
        }));
    EXPECT_LT(samePlaces, kNotePoolSize / 10);
    exchangeViewState(&first);
    EXPECT_EQ(sceneDraw, skyfold::rand());  // the second view's seed came from the scene's own
    exchangeViewState(&first);
    endViewState(&second);
    endViewState(&first);
}

TEST(ViewState, AViewThatSkipsFramesLandsWhereOneThatDrewEveryFrameDoes) {
    fakeClock = {true, kTicksPerSecond, 0, 0};
    startFrameClock();
    ViewState everyFrame, everyTenth;
    startViewState(&everyFrame, FrontOn, 0.0, 0.0);
    startViewState(&everyTenth, FrontOn, 0.0, 0.0);
    for (int i = 0; i < kNotePoolSize; ++i) everyFrame.notes[i].position.y = 0.0f;  // no rebirths
    std::copy(everyFrame.notes, everyFrame.notes + kNotePoolSize, everyTenth.notes);
    for (int frame = 1; frame <= 120; ++frame) {
        fakeClock.counter += kTicksPerSecond / 60;
        advanceView(&everyFrame);
        if (frame % 10 == 0) advanceView(&everyTenth);
    }
    for (int i = 0; i < kNotePoolSize; ++i) {
        ASSERT_NEAR(everyFrame.notes[i].position.y, everyTenth.notes[i].position.y, 1e-3f) << i;
        ASSERT_NEAR(everyFrame.notes[i].angles.y, everyTenth.notes[i].angles.y, 1e-2f) << i;
    }
    EXPECT_LT(everyFrame.notes[0].position.y, -1.0f);  // they fell for two seconds
    endViewState(&everyTenth);
    endViewState(&everyFrame);
}
