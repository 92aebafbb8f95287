// The seat's devices and the input rules. Keys are read through the keymap the compositor sends,
// so that q is q on any layout, as X11's key symbols make it there. Pointer travel is measured on
// each surface from where the pointer entered it, since every monitor's surface has coordinates
// of its own.
#include "host/wayland/seat_input.h"

#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <cmath>

#include "host/input_rules.h"
#include "host/unix/run_control.h"
#include "host/wayland/wayland_globals.h"

static struct {
    DrawTarget target;
    wl_seat* seat;
    wl_keyboard* keyboard;
    wl_pointer* pointer;
    wl_touch* touch;
    xkb_context* keys;
    xkb_keymap* keymap;
    xkb_state* keyState;
    ScreenPoint pointerReference;  // surface-local, where the pointer entered the surface
} gSeat;

// Input that ends the run ends it, or is handed to the idle watcher.
static void inputCame() {
    if (inputEndsRun()) endWaylandRun();
}

static const uint32_t kSeatVersion = 5;   // touch frames; libwayland's later events unbound
static const uint32_t kEvdevToXkbKeycode = 8;  // xkb numbers keys 8 above the kernel's codes

// ---- keyboard ----------------------------------------------------------------------------------

static void dropKeymap() {
    if (gSeat.keyState) xkb_state_unref(gSeat.keyState);
    if (gSeat.keymap) xkb_keymap_unref(gSeat.keymap);
    gSeat.keyState = nullptr;
    gSeat.keymap = nullptr;
}

static void onKeymap(void*, wl_keyboard*, uint32_t format, int32_t file, uint32_t size) {
    dropKeymap();
    void* text = format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1
                     ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0)
                     : MAP_FAILED;
    close(file);
    if (text == MAP_FAILED) return;
    if (!gSeat.keys) gSeat.keys = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (gSeat.keys) {
        gSeat.keymap = xkb_keymap_new_from_string(gSeat.keys, static_cast<const char*>(text),
                                                  XKB_KEYMAP_FORMAT_TEXT_V1,
                                                  XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    munmap(text, size);
    if (gSeat.keymap) gSeat.keyState = xkb_state_new(gSeat.keymap);
}

// The key's symbol without modifiers, as X11's XLookupKeysym(event, 0) reads it.
static bool isQuitKey(uint32_t key) {
    if (!gSeat.keyState) return false;
    const xkb_keysym_t symbol = xkb_state_key_get_one_sym(gSeat.keyState, key + kEvdevToXkbKeycode);
    return symbol == XKB_KEY_q || symbol == XKB_KEY_Escape;
}

static void onKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
    if (keyEndsRun(gSeat.target, isQuitKey(key))) inputCame();
}

// Keys already held when the surface takes the keyboard were pressed before the run; only
// presses from now on count.
static void onKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
static void onKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
static void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
static void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

static const wl_keyboard_listener kKeyboardListener = {
    onKeymap, onKeyboardEnter, onKeyboardLeave, onKey, onModifiers, onRepeatInfo};

// ---- pointer -----------------------------------------------------------------------------------

static ScreenPoint surfacePoint(wl_fixed_t x, wl_fixed_t y) {
    return {static_cast<int32_t>(std::lround(wl_fixed_to_double(x))),
            static_cast<int32_t>(std::lround(wl_fixed_to_double(y)))};
}

static void onPointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x,
                           wl_fixed_t y) {
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);  // no cursor over the saver
    gSeat.pointerReference = surfacePoint(x, y);
}

static void onPointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    if (mouseTravelEndsRun(gSeat.pointerReference, surfacePoint(x, y))) inputCame();
}

static void onButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED && pressEndsRun(gSeat.target)) inputCame();
}

// X11 reports the wheel as buttons, and they end a full-screen run there.
static void onAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {
    if (pressEndsRun(gSeat.target)) inputCame();
}

static void onPointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
static void onPointerFrame(void*, wl_pointer*) {}
static void onAxisSource(void*, wl_pointer*, uint32_t) {}
static void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
static void onAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

// Bound at seat version 5: the high-resolution wheel event (version 8) never comes.
static const wl_pointer_listener kPointerListener = {
    onPointerEnter, onPointerLeave, onPointerMotion, onButton,       onAxis,
    onPointerFrame, onAxisSource,   onAxisStop,      onAxisDiscrete, nullptr};

// ---- touch -------------------------------------------------------------------------------------

static void onTouchDown(void*, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t,
                        wl_fixed_t) {
    if (pressEndsRun(gSeat.target)) inputCame();
}

static void onTouchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t) {}
static void onTouchMotion(void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {}
static void onTouchFrame(void*, wl_touch*) {}
static void onTouchCancel(void*, wl_touch*) {}

// Bound at seat version 5: the shape and orientation events (version 6) never come.
static const wl_touch_listener kTouchListener = {onTouchDown,  onTouchUp,     onTouchMotion,
                                                 onTouchFrame, onTouchCancel, nullptr,
                                                 nullptr};

// ---- the seat ----------------------------------------------------------------------------------

// Devices a compositor of an old seat version cannot be told to release are destroyed instead.
static bool canRelease() {
    return wl_seat_get_version(gSeat.seat) >= WL_KEYBOARD_RELEASE_SINCE_VERSION;
}

static void dropKeyboard() {
    if (canRelease()) wl_keyboard_release(gSeat.keyboard);
    else wl_keyboard_destroy(gSeat.keyboard);
    gSeat.keyboard = nullptr;
}

static void dropPointer() {
    if (canRelease()) wl_pointer_release(gSeat.pointer);
    else wl_pointer_destroy(gSeat.pointer);
    gSeat.pointer = nullptr;
}

static void dropTouch() {
    if (canRelease()) wl_touch_release(gSeat.touch);
    else wl_touch_destroy(gSeat.touch);
    gSeat.touch = nullptr;
}

static void followKeyboard(wl_seat* seat, bool wanted) {
    if (wanted && !gSeat.keyboard) {
        gSeat.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(gSeat.keyboard, &kKeyboardListener, nullptr);
    } else if (!wanted && gSeat.keyboard) {
        dropKeyboard();
    }
}

static void followPointer(wl_seat* seat, bool wanted) {
    if (wanted && !gSeat.pointer) {
        gSeat.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(gSeat.pointer, &kPointerListener, nullptr);
    } else if (!wanted && gSeat.pointer) {
        dropPointer();
    }
}

static void followTouch(wl_seat* seat, bool wanted) {
    if (wanted && !gSeat.touch) {
        gSeat.touch = wl_seat_get_touch(seat);
        wl_touch_add_listener(gSeat.touch, &kTouchListener, nullptr);
    } else if (!wanted && gSeat.touch) {
        dropTouch();
    }
}

// Devices come and go while the run lasts (a mouse plugged in, a virtual keyboard); only those
// whose input can end a run of this target are taken.
static void onCapabilities(void*, wl_seat* seat, uint32_t capabilities) {
    const DrawTarget target = gSeat.target;
    followKeyboard(seat, (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) &&
                             (keyEndsRun(target, false) || keyEndsRun(target, true)));
    followPointer(seat, (capabilities & WL_SEAT_CAPABILITY_POINTER) && pointerTravelCounts(target));
    followTouch(seat, (capabilities & WL_SEAT_CAPABILITY_TOUCH) && pressEndsRun(target));
}

static void onSeatName(void*, wl_seat*, const char*) {}

static const wl_seat_listener kSeatListener = {onCapabilities, onSeatName};

void bindSeat(wl_registry* registry, uint32_t name, uint32_t version, DrawTarget target) {
    if (gSeat.seat || target == DrawTarget::Background) return;
    gSeat.target = target;
    gSeat.seat = static_cast<wl_seat*>(wl_registry_bind(
        registry, name, &wl_seat_interface, version < kSeatVersion ? version : kSeatVersion));
    wl_seat_add_listener(gSeat.seat, &kSeatListener, nullptr);
}

void releaseSeat() {
    if (gSeat.keyboard) dropKeyboard();
    if (gSeat.pointer) dropPointer();
    if (gSeat.touch) dropTouch();
    if (gSeat.seat && wl_seat_get_version(gSeat.seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
        wl_seat_release(gSeat.seat);
    } else if (gSeat.seat) {
        wl_seat_destroy(gSeat.seat);
    }
    dropKeymap();
    if (gSeat.keys) xkb_context_unref(gSeat.keys);
    gSeat = {};
}
