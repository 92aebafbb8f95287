// The scene's entry points in the browser: it draws on a canvas of the page with a WebGL 1 context
// through the OpenGL 1.1 layer (scene/web/gl11.h). The host runs one frame per animation frame
// and tells the scene when the page is hidden or paused, which stops its clock, when the settings
// changed, and when the browser lost the context or gave it back. Browser only.
#pragma once
#ifndef __EMSCRIPTEN__
#error "scene/web/scene_surface.h belongs to the browser's scene"
#endif

#include <cstdint>

// Builds the scene on the canvas (a CSS selector) whose drawing buffer is width x height pixels,
// pixelRatio of them to a CSS pixel: WebGL context, settings, render state, every texture and
// list, projection and clock. False after the failure has been reported (showSceneError); the page
// then shows no scene.
bool createScene(const char* canvasSelector, int32_t width, int32_t height, double pixelRatio);

// One frame: the clock, then drawFrame; the browser presents it when the frame's callback returns.
void drawSceneFrame();

// The canvas's drawing buffer now has this size and pixel ratio; the next frame fills it, with the
// banner at its size in CSS pixels. The host's preview rule (no banner in a narrow view) is read
// again.
void resizeScene(int32_t width, int32_t height, double pixelRatio);

// While paused the frame clock stands still, so the notes go on from where they were.
void pauseScene();
void resumeScene();

// Builds the scene again on its context with the settings as they are now: textures, lists,
// projection and clock anew, as at a run's start, while the falling notes stay where they are.
void restartScene();

// The context is back after a loss: the GL layer makes what lived in it again, and the next frame
// goes on from where the scene stood. A failure shown meanwhile goes away.
void restoreSceneContext();

// The context has not come back: the page shows the surface failure, as when none can be made.
void reportSceneContextGone();

// Releases the textures and lists in their order, then the context.
void destroyScene();

// True once the scene has asked for the run to end (quitSceneRun).
bool sceneQuitRequested();
