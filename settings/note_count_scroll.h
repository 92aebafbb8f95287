// How the note-count slider's scroll requests change the count: line steps of 1, page steps of
// 10, jumps to either end, and the thumb's position when it is released. Pure arithmetic; the
// request codes are those of Windows' horizontal scroll bars (SB_LINELEFT = 0 ... SB_ENDSCROLL = 8).
#pragma once

#include <cstdint>

enum ScrollRequest : int {
    kScrollLineLeft = 0,
    kScrollLineRight = 1,
    kScrollPageLeft = 2,
    kScrollPageRight = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollLeft = 6,
    kScrollRight = 7,
    kScrollEnd = 8
};

const int32_t kFewestNotes = 75;
const int32_t kMostNotes = 1500;

struct ScrollOutcome {
    int32_t value;    // the new note count
    bool reposition;  // the slider's thumb must be moved to value
};

// The count after one scroll request within [minimum, maximum]; thumbPosition is read only for a
// released thumb. A dragged thumb and the end of a scroll change nothing.
ScrollOutcome handleNoteCountScroll(int32_t value, int32_t minimum, int32_t maximum, int request,
                                    uint16_t thumbPosition);
