// What the portable scene needs of its own platform half (scene/win32/, scene/unix/ for X11 and
// Wayland, scene/web/): the program's bitmap resources, and how a failure reaches the user and
// ends the run.
#pragma once

#include <cstddef>
#include <cstdint>

// The bitmap resource with this id as a packed DIB (info header, palette, pixels), or null when
// there is none. The bytes live as long as the process.
const uint8_t* sceneBitmapResource(int bitmapId, size_t* bytes);

// The caption under which each platform reports that it cannot make the scene's surface.
const char kSurfaceFailureCaption[] = "Error Creating Window";

// Tells the user about a failure: a message box on Windows, a line on stderr on Linux, the page's
// own message in the browser.
void showSceneError(const char* caption, const char* text);

// Asks the frame pump to stop once the current message or frame is done; the run ends with 0.
void quitSceneRun();
