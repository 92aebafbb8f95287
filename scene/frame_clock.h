// The scene's time, in seconds from the end of scene creation. Once per frame the paint step calls
// advanceFrameClock, which publishes frameTime and frameDelta for everything animated in that frame.
#pragma once

extern float frameTime;   // seconds since startFrameClock, as read for the current frame; 0 before
extern float frameDelta;  // seconds since the previous frame (the first frame: since the start)

// Takes the clock's starting reading; the last step of scene creation.
void startFrameClock();

// Seconds elapsed since startFrameClock, in double precision.
double readFrameClock();

// The paint step's clock work: reads the clock once and publishes frameTime and frameDelta.
void advanceFrameClock();

// Makes next the frame time that the next frameDelta counts from and returns the one it replaces:
// each view of a scene drawn on several monitors moves its notes by the time since its own frame.
float exchangePreviousFrameTime(float next);
