// The scene's pictures on Win32: RT_BITMAP resources of the program module, which the resource
// compiler stores as packed DIBs.
#include "scene/scene_platform.h"
#include "scene/win32/scene_surface.h"

const uint8_t* sceneBitmapResource(int bitmapId, size_t* bytes) {
    const HINSTANCE module = sceneModuleInstance();
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(bitmapId), RT_BITMAP);
    const HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const void* dib = loaded ? LockResource(loaded) : NULL;
    *bytes = dib ? SizeofResource(module, found) : 0;
    return static_cast<const uint8_t*>(dib);
}
