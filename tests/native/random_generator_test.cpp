#include "scene/random_generator.h"

#include <gtest/gtest.h>

// The generator must reproduce the classic sequence of this LCG from state 1, which is also the
// sequence of the Microsoft C runtime's rand(): the notes' first arrangement depends on it.
static const int kFirstTenFromStateOne[] = {41, 18467, 6334, 26500, 19169,
                                            15724, 11478, 29358, 26962, 24464};

TEST(RandomGenerator, ReproducesTheSequenceFromStateOne) {
    skyfold::srand(1);
    for (int expected : kFirstTenFromStateOne) EXPECT_EQ(expected, skyfold::rand());
}

TEST(RandomGenerator, StaysWithinRangeAndWrapsItsStateWithoutFault) {
    skyfold::srand(0xFFFFFFFFu);
    int smallest = skyfold::kRandomMax, largest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = skyfold::rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, skyfold::kRandomMax);
        smallest = std::min(smallest, value);
        largest = std::max(largest, value);
    }
    EXPECT_LT(smallest, 10);
    EXPECT_GT(largest, skyfold::kRandomMax - 10);
}
