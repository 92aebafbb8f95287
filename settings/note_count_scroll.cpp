// Note-count slider arithmetic, in 64 bits so that a stored count near the 32-bit limits cannot
// overflow a step before it is clamped.
#include "settings/note_count_scroll.h"

static const int64_t kLineStepNotes = 1;
static const int64_t kPageStepNotes = 10;

static int64_t requested(int64_t value, int32_t minimum, int32_t maximum, int request,
                         uint16_t thumbPosition) {
    switch (request) {
        case kScrollLineLeft: return value - kLineStepNotes;
        case kScrollLineRight: return value + kLineStepNotes;
        case kScrollPageLeft: return value - kPageStepNotes;
        case kScrollPageRight: return value + kPageStepNotes;
        case kScrollThumbPosition: return thumbPosition;
        case kScrollLeft: return minimum;
        case kScrollRight: return maximum;
        default: return value;  // unknown requests still clamp and reposition
    }
}

ScrollOutcome handleNoteCountScroll(int32_t value, int32_t minimum, int32_t maximum, int request,
                                    uint16_t thumbPosition) {
    if (request == kScrollThumbTrack || request == kScrollEnd) return {value, false};
    int64_t next = requested(value, minimum, maximum, request, thumbPosition);
    if (next <= minimum) next = minimum;
    if (next >= maximum) next = maximum;
    return {static_cast<int32_t>(next), true};
}
