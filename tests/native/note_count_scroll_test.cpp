#include "settings/note_count_scroll.h"

#include <gtest/gtest.h>

#include <cstdint>

static ScrollOutcome scroll(int32_t value, int request, uint16_t thumb = 0) {
    return handleNoteCountScroll(value, kFewestNotes, kMostNotes, request, thumb);
}

TEST(NoteCountScroll, StepsByLinesAndPagesWithinTheRange) {
    EXPECT_EQ(199, scroll(200, kScrollLineLeft).value);
    EXPECT_EQ(201, scroll(200, kScrollLineRight).value);
    EXPECT_EQ(190, scroll(200, kScrollPageLeft).value);
    EXPECT_EQ(210, scroll(200, kScrollPageRight).value);
    EXPECT_TRUE(scroll(200, kScrollPageRight).reposition);
}

TEST(NoteCountScroll, ClampsAtBothEnds) {
    EXPECT_EQ(1500, scroll(1495, kScrollPageRight).value);
    EXPECT_EQ(75, scroll(80, kScrollPageLeft).value);
    EXPECT_EQ(75, scroll(75, kScrollLineLeft).value);
    EXPECT_EQ(1500, scroll(1500, kScrollLineRight).value);
    EXPECT_EQ(75, scroll(900, kScrollLeft).value);
    EXPECT_EQ(1500, scroll(900, kScrollRight).value);
}

TEST(NoteCountScroll, TheThumbCountsOnlyWhenReleased) {
    const ScrollOutcome dragging = scroll(200, kScrollThumbTrack, 800);
    EXPECT_EQ(200, dragging.value);
    EXPECT_FALSE(dragging.reposition);
    EXPECT_EQ(800, scroll(200, kScrollThumbPosition, 800).value);
    EXPECT_EQ(1500, scroll(200, kScrollThumbPosition, 65535).value);   // the whole 16-bit word
    const ScrollOutcome ended = scroll(3000, kScrollEnd);
    EXPECT_EQ(3000, ended.value);                                      // no clamping either
    EXPECT_FALSE(ended.reposition);
}

TEST(NoteCountScroll, OutOfRangeStoredValuesAreClampedByAnyOtherRequest) {
    EXPECT_EQ(1500, scroll(4000, 42).value);                           // an unknown request
    EXPECT_TRUE(scroll(4000, 42).reposition);
    EXPECT_EQ(75, scroll(-20, kScrollLineRight).value);
    EXPECT_EQ(1500, scroll(INT32_MAX, kScrollPageRight).value);        // no overflow on the way
    EXPECT_EQ(75, scroll(INT32_MIN, kScrollPageLeft).value);
}
