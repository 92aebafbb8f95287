// The scene's entry point and frame pump: on the saver window's creation it covers the window with
// an OpenGL child window and builds everything it draws with; a paint of that child draws and
// presents one frame when one is due; on destruction it releases it all. Win32 only.
#pragma once
#ifndef _WIN32
#error "scene_surface.h belongs to the Win32 scene"
#endif

#include <windows.h>

// The scene's message function for the saver window: creation and destruction here, every other
// message to the host's defaultSaverProc.
LRESULT CALLBACK saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The host's default handling of the saver window's messages (the close-on-input rules, cursor
// hiding, the password request, then DefWindowProcA), handed over before the saver window is
// created. The scene passes it every message it does not handle itself, on either window, in the
// saver window's name; DefWindowProcA stands in until it is handed over.
void setSceneDefaultProc(WNDPROC defaultProc);

// Module that the scene loads its bitmap resources from.
HINSTANCE sceneModuleInstance();

// For the host's message loop: milliseconds until the scene's next frame is due. When it is due
// now, the scene's window has just been invalidated, so that its paint is the next message, and
// the result is 0. INFINITE while there is no scene.
DWORD sceneFrameWaitMilliseconds();

// Frames back to back, as fast as the renderer goes, for the frame-time benchmark; before the
// saver window is created.
void unpaceSceneFrames();

// The pixel format the scene asks for: double-buffered RGBA, 16-bit colour and depth.
PIXELFORMATDESCRIPTOR scenePixelFormat();
