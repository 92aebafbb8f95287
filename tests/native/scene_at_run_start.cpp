// Takes the scene's start before the first test and puts it back before each test that asks,
// through the same exchanges that give every view of a run its own state.
#include "tests/native/scene_at_run_start.h"

#include <algorithm>
#include <vector>

#include "scene/banner_motion.h"
#include "scene/frame_clock.h"
#include "scene/frame_rate_meter.h"
#include "scene/pitch_director.h"
#include "scene/random_generator.h"

// NOTE: a vector, filled by copying: an array of notes would construct each one, and a note's
// construction draws from the very sequence this keeps.
static struct {
    bool taken;
    std::vector<Note> pool;
    uint32_t randomState;
} gStart;

// NOTE: an environment's SetUp runs before the first test of every repetition; only the first
// sees the process as it started.
class ProcessStart : public testing::Environment {
public:
    void SetUp() override {
        if (gStart.taken) return;
        gStart.taken = true;
        gStart.pool.assign(notePool, notePool + kNotePoolSize);
        gStart.randomState = skyfold::exchangeRandomState(0);
        skyfold::exchangeRandomState(gStart.randomState);
    }
};

[[maybe_unused]] static testing::Environment* const kProcessStart =
    testing::AddGlobalTestEnvironment(new ProcessStart);

const Note* processStartPool() {
    return gStart.pool.data();
}

uint32_t processStartRandomState() {
    return gStart.randomState;
}

void SceneAtRunStart::SetUp() {
    std::copy(gStart.pool.begin(), gStart.pool.end(), notePool);
    exchangeNotePool(notePool);
    skyfold::exchangeRandomState(gStart.randomState);
    exchangePitchState(PitchState{});
    exchangeBannerState(freshBannerState(0.0f));
    exchangeFrameRateMeter(freshFrameRateMeter(0.0, 0.0));
    exchangePreviousFrameTime(0.0f);
    frameTime = 0.0f;
    frameDelta = 0.0f;
}
