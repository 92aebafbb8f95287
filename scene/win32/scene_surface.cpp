// The OpenGL surface of a saver run: the "OpenGL Window" child with its pixel format, palette,
// rendering context and swap interval, the paced frame pump in its paint handling, and the
// teardown order. Messages that the child does not handle go to the host's defaultSaverProc in the
// saver window's name, so input over the picture counts as input over the saver window.
#include "scene/win32/scene_surface.h"

#include <cmath>
#include <cstdlib>

#include "scene/frame_clock.h"
#include "scene/frame_pacing.h"
#include "scene/palette_ramp.h"
#include "scene/render_state.h"
#include "scene/scene_platform.h"
#include "scene/scene_start.h"
#include "scene/scene_view.h"
#include "scene/win32/pacing_sources.h"

typedef BOOL(WINAPI* SwapIntervalFn)(int interval);

static struct {
    HWND saverWindow;
    HWND sceneWindow;
    HDC sceneDC;            // the child's own DC (CS_OWNDC): valid for the window's life
    HGLRC renderContext;
    HPALETTE palette;       // only for formats that need one
    UINT_PTR repaintTimer;  // 0 when no timer runs
    HINSTANCE moduleInstance;
    bool unpaced;           // the benchmark's frames back to back
} gSurface;

static const char kSceneClassName[] = "OpenGL Window";
static const UINT_PTR kRepaintTimerId = 1;
// Only re-invalidates. The message loop asks for each frame when it is due; the timer keeps frames
// coming inside other loops, such as a dialog's.
static const UINT kRepaintPeriodMilliseconds = 33;
static const double kMillisecondsPerSecond = 1000.0;
static const int kSurfaceFailedExitCode = 1;
static const int kTitleBufferChars = 64;
static const WORD kLogPaletteVersion = 0x300;

HINSTANCE sceneModuleInstance() { return gSurface.moduleInstance; }

void showSceneError(const char* caption, const char* text) {
    MessageBoxA(NULL, text, caption, MB_OK | MB_ICONERROR);
}

void quitSceneRun() {
    PostQuitMessage(0);
}

static HWND reportFailure(const char* text) {
    showSceneError(kSurfaceFailureCaption, text);
    return NULL;
}

// ---- palette -------------------------------------------------------------------------------

static void fillColorIndexEntries(LOGPALETTE* palette) {
    static const PALETTEENTRY kFixedColors[] = {
        {0, 0, 0, PC_NOCOLLAPSE}, {255, 0, 0, PC_NOCOLLAPSE},
        {0, 255, 0, PC_NOCOLLAPSE}, {0, 0, 255, PC_NOCOLLAPSE}};
    for (int i = 0; i < 4 && i < palette->palNumEntries; ++i) palette->palPalEntry[i] = kFixedColors[i];
}

static void fillRgbRamp(LOGPALETTE* palette, const PIXELFORMATDESCRIPTOR& format) {
    for (UINT i = 0; i < palette->palNumEntries; ++i) {
        PALETTEENTRY& entry = palette->palPalEntry[i];
        entry.peRed = paletteRampValue(i, format.cRedBits, format.cRedShift);
        entry.peGreen = paletteRampValue(i, format.cGreenBits, format.cGreenShift);
        entry.peBlue = paletteRampValue(i, format.cBlueBits, format.cBlueShift);
        entry.peFlags = 0;
    }
}

static void buildPalette(const PIXELFORMATDESCRIPTOR& format) {
    const int entryCount = paletteEntryCount(format.cColorBits);
    LOGPALETTE* palette = static_cast<LOGPALETTE*>(
        std::calloc(1, sizeof(LOGPALETTE) + (entryCount - 1) * sizeof(PALETTEENTRY)));
    if (!palette) return;
    palette->palVersion = kLogPaletteVersion;
    palette->palNumEntries = static_cast<WORD>(entryCount);
    GetSystemPaletteEntries(gSurface.sceneDC, 0, entryCount, palette->palPalEntry);
    if (format.iPixelType == PFD_TYPE_COLORINDEX) {
        fillColorIndexEntries(palette);
    } else {
        fillRgbRamp(palette, format);
    }
    gSurface.palette = CreatePalette(palette);
    if (gSurface.palette) {
        SelectPalette(gSurface.sceneDC, gSurface.palette, FALSE);
        RealizePalette(gSurface.sceneDC);
    }
    std::free(palette);
}

static LRESULT realizeScenePalette() {
    if (!gSurface.palette) return 0;
    UnrealizeObject(gSurface.palette);
    SelectPalette(gSurface.sceneDC, gSurface.palette, FALSE);
    RealizePalette(gSurface.sceneDC);
    return 1;
}

// ---- the OpenGL child window -----------------------------------------------------------------

static LRESULT onSceneCreate(HWND window, WPARAM, LPARAM) {
    gSurface.repaintTimer = SetTimer(window, kRepaintTimerId, kRepaintPeriodMilliseconds, NULL);
    return 0;
}

// One frame when one is due. The window is then validated, so that no paint follows until the
// message loop asks for the next frame; unpaced, it is left invalid and the next WM_PAINT follows
// as soon as the queue is otherwise empty.
static LRESULT onScenePaint(HWND window, WPARAM, LPARAM) {
    const double now = readFrameClock();
    if (secondsUntilNextFrame(now) > 0.0) {
        ValidateRect(window, NULL);  // the timer's paint, early
        return 0;
    }
    frameBegins(now);
    advanceFrameClock();
    drawFrame();
    SwapBuffers(gSurface.sceneDC);
    framePresented(readFrameClock());
    if (!gSurface.unpaced) ValidateRect(window, NULL);
    return 0;
}

static LRESULT onSceneTimer(HWND window, WPARAM, LPARAM) {
    InvalidateRect(window, NULL, FALSE);
    return 0;
}

static LRESULT onQueryNewPalette(HWND, WPARAM, LPARAM) {
    return realizeScenePalette();
}

static LRESULT onPaletteChanged(HWND window, WPARAM changedBy, LPARAM) {
    if (reinterpret_cast<HWND>(changedBy) == window) return 0;
    return realizeScenePalette();
}

static LRESULT onSceneDestroy(HWND window, WPARAM, LPARAM) {
    if (gSurface.repaintTimer != 0) KillTimer(window, gSurface.repaintTimer);
    PostQuitMessage(0);
    return 0;
}

typedef LRESULT (*SceneHandler)(HWND window, WPARAM wParam, LPARAM lParam);

struct SceneRoute {
    UINT message;
    SceneHandler handler;
};

static const SceneRoute kSceneRoutes[] = {
    {WM_CREATE, onSceneCreate},           {WM_PAINT, onScenePaint},
    {WM_TIMER, onSceneTimer},             {WM_QUERYNEWPALETTE, onQueryNewPalette},
    {WM_PALETTECHANGED, onPaletteChanged}, {WM_DESTROY, onSceneDestroy},
};

static LRESULT CALLBACK sceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const SceneRoute& route : kSceneRoutes) {
        if (route.message == message) return route.handler(window, wParam, lParam);
    }
    return defaultSaverProc(gSurface.saverWindow, message, wParam, lParam);
}

static bool registerSceneClass() {
    WNDCLASSA sceneClass;
    ZeroMemory(&sceneClass, sizeof sceneClass);
    sceneClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    sceneClass.lpfnWndProc = sceneWindowProc;
    sceneClass.hInstance = gSurface.moduleInstance;
    sceneClass.hIcon = LoadIconA(NULL, IDI_WINLOGO);
    sceneClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    sceneClass.lpszClassName = kSceneClassName;
    return RegisterClassA(&sceneClass) != 0;
}

PIXELFORMATDESCRIPTOR scenePixelFormat() {
    PIXELFORMATDESCRIPTOR format;
    ZeroMemory(&format, sizeof format);
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

// NOTE: the child's WM_NCCREATE is handled in the saver window's name, and the default handling
// of WM_NCCREATE sets the handled window's title. Giving the child the saver window's own title
// keeps that title, by which a second full-screen start finds the running one.
static HWND createSceneWindow(int x, int y, int width, int height, HWND parent) {
    gSurface.moduleInstance = GetModuleHandleA(NULL);
    if (!registerSceneClass()) return reportFailure("Sorry dude. Can't register the window class.");

    char title[kTitleBufferChars] = "";
    GetWindowTextA(parent, title, kTitleBufferChars);
    const HWND window = CreateWindowExA(0, kSceneClassName, title,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                        x, y, width, height, parent, NULL,
                                        gSurface.moduleInstance, NULL);
    if (!window) return reportFailure("Sorry dude. Can't create the window.");
    gSurface.sceneWindow = window;

    gSurface.sceneDC = GetDC(window);
    if (!gSurface.sceneDC) return reportFailure("Sorry dude. Can't get the DC.");

    const PIXELFORMATDESCRIPTOR requested = scenePixelFormat();
    const int formatIndex = ChoosePixelFormat(gSurface.sceneDC, &requested);
    if (formatIndex == 0) return reportFailure("Sorry dude. Can't get a pixel format.");
    if (!SetPixelFormat(gSurface.sceneDC, formatIndex, &requested)) {
        return reportFailure("Sorry dude. Can't set the pixel format.");
    }
    PIXELFORMATDESCRIPTOR chosen;
    DescribePixelFormat(gSurface.sceneDC, formatIndex, sizeof chosen, &chosen);
    if ((chosen.dwFlags & PFD_NEED_PALETTE) || chosen.iPixelType == PFD_TYPE_COLORINDEX) {
        buildPalette(chosen);
    }

    gSurface.renderContext = wglCreateContext(gSurface.sceneDC);
    if (!gSurface.renderContext) return reportFailure("Sorry dude. Can't get a rendering context.");
    if (!wglMakeCurrent(gSurface.sceneDC, gSurface.renderContext)) {
        return reportFailure("Sorry dude. Can't activate the RC.");
    }
    return window;
}

// ---- pacing ----------------------------------------------------------------------------------

// Asks the driver to wait for the display at each swap (1) or not (0); false where it cannot.
static bool setSwapInterval(int interval) {
    // Through a generic function pointer: the one cast between function types both compilers
    // accept.
    const SwapIntervalFn set = reinterpret_cast<SwapIntervalFn>(
        reinterpret_cast<void (*)(void)>(wglGetProcAddress("wglSwapIntervalEXT")));
    return set && set(interval);
}

static void startPacing() {
    const bool swapCanWait = setSwapInterval(gSurface.unpaced ? 0 : 1) && !gSurface.unpaced;
    const PacingConditions conditions = {
        displayRefreshHertz(gSurface.saverWindow), !gSurface.unpaced && machineOnBattery(),
        gSurface.unpaced ? kUnpacedFrameRate : kNoFrameRateCeiling, swapCanWait};
    startFramePacing(conditions, readFrameClock());
}

DWORD sceneFrameWaitMilliseconds() {
    if (!gSurface.sceneWindow) return INFINITE;
    const double wait = secondsUntilNextFrame(readFrameClock());
    if (wait <= 0.0) {
        InvalidateRect(gSurface.sceneWindow, NULL, FALSE);
        return 0;
    }
    return static_cast<DWORD>(std::ceil(wait * kMillisecondsPerSecond));
}

void unpaceSceneFrames() {
    gSurface.unpaced = true;
}

// ---- saverProc -------------------------------------------------------------------------------

static LRESULT createScene(HWND window) {
    gSurface.saverWindow = window;
    RECT client;
    GetClientRect(window, &client);
    if (!createSceneWindow(0, 0, client.right, client.bottom, window)) {
        std::exit(kSurfaceFailedExitCode);
    }
    GetClientRect(window, &client);
    viewWidth = client.right;
    viewHeight = client.bottom;
    startScene();
    startPacing();
    return 0;
}

static LRESULT destroyScene() {
    releaseSceneResources();
    wglMakeCurrent(NULL, NULL);
    ReleaseDC(gSurface.sceneWindow, gSurface.sceneDC);
    wglDeleteContext(gSurface.renderContext);
    if (gSurface.palette) DeleteObject(gSurface.palette);
    DestroyWindow(gSurface.sceneWindow);
    UnregisterClassA(kSceneClassName, gSurface.moduleInstance);
    const bool unpaced = gSurface.unpaced;
    gSurface = {};  // nothing of this run is left for another
    gSurface.unpaced = unpaced;
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return createScene(window);
        case WM_DESTROY: return destroyScene();
        default: return defaultSaverProc(window, message, wParam, lParam);
    }
}
