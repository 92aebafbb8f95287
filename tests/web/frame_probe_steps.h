// The fixed frame that the same-frame test draws on both the browser and the X11 program: the
// scene's creation steps with a fixed seed instead of the calendar time, fixed settings, and frames
// at fixed readings of the fake clock. Portable; each platform's probe makes the context and reads
// the pixels back.
#pragma once

#include <cstdint>

const int32_t kProbeWidthPixels = 800;    // wide enough for the banner (640 and up)
const int32_t kProbeHeightPixels = 450;
const uint32_t kProbeSeed = 20061;        // any fixed value; the product seeds with the time
// 50 s of frames: the notes, which start above the view, have fallen through it and many have
// started again from the top at places drawn from the seed; the banner has come back and rests
// at the other edge.
const int kProbeFrames = 100;
const int64_t kProbeFrameMicroseconds = 500000;

// Runs the creation steps on the current context at the probe's size, then the frames; the last
// frame is left in the back buffer, unpresented. A seed other than kProbeSeed draws another
// frame (to see that the comparison tells them apart).
void drawProbeFrames(uint32_t seed);
