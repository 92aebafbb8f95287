// Drawing the falling notes: each of the first noteCount notes of the pool is advanced by the
// frame's time step and drawn with its display list inside its own transform.
#pragma once

#include <cstdint>

// Advances and draws notes 0 to noteCount - 1 (never past the pool), in pool order.
void updateAndDrawNotes(int32_t noteCount);
