// The scene's module state as a run begins, for the tests of the scene's modules: the note pool as
// the process filled it, the random sequence just past it, a level camera, a banner not yet shown,
// a clock at 0 and no view. Each test starts from it, so the tests pass in one process, in any order.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "scene/note_motion.h"
#include "scene/view_state.h"

// The pool and the random state as the process had them when the first test began.
const Note* processStartPool();
uint32_t processStartRandomState();

class SceneAtRunStart : public testing::Test {
protected:
    void SetUp() override;
};

// A view that is ended however its test ends, so that no later test finds the pool taken.
struct TestView {
    ViewState state;
    ~TestView() { endViewState(&state); }
};
