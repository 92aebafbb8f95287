// Drawing the frame-rate display (--fps) over a finished frame: a small fixed font in a glyph
// texture made once at the start, lines of text in the lower left corner, white with a dark
// shadow so that they read over the notes. OpenGL 1.1 only; nothing of it exists without --fps.
#pragma once

#include <cstdint>

// Makes the glyph texture; the scene's context must be current.
void createFrameRateOverlay();

// Draws the text ('\n' between lines) in the lower left corner of a view of the given size, and
// leaves every piece of state as it found it but the current colour, which each frame sets anew.
void drawFrameRateOverlay(const char* text, int32_t viewWidthPixels, int32_t viewHeightPixels);

// Deletes the glyph texture; the context must still be current. Nothing when none was made.
void releaseFrameRateOverlay();
