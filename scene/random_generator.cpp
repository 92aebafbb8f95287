// The one process-wide random sequence. It is ours rather than the C library's so that every
// build and platform draws the same numbers from the same state.
#include "scene/random_generator.h"

static struct {
    uint32_t state;
} gRandom = {1};

static const uint32_t kMultiplier = 214013u;
static const uint32_t kIncrement = 2531011u;

namespace skyfold {

int rand() {
    gRandom.state = gRandom.state * kMultiplier + kIncrement;  // wraps modulo 2^32 by design
    return static_cast<int>((gRandom.state >> 16) & static_cast<uint32_t>(kRandomMax));
}

void srand(uint32_t seed) {
    gRandom.state = seed;
}

uint32_t exchangeRandomState(uint32_t next) {
    const uint32_t previous = gRandom.state;
    gRandom.state = next;
    return previous;
}

}  // namespace skyfold
