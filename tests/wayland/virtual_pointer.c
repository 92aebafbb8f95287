/* The Wayland tests' mouse: a virtual pointer (wlr-virtual-pointer-unstable-v1) on the compositor's
 * seat, driven by steps given as arguments. The seat has a pointer while this runs:
 *   move DX DY      relative motion, in pixels
 *   glide DX DY FILE  that motion again and again until FILE exists (a compositor's window move
 *                   follows only the motion after it has begun, which the test waits for)
 *   to X Y W H      absolute position X, Y in a layout W x H pixels large (every monitor's)
 *   press, release  the left button; click is both
 *   mark FILE       creates FILE once every step before it has reached the compositor
 *   await FILE      waits until FILE exists (the test's go-ahead)
 *   wait MS         sleeps */
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct {
    struct wl_display* display;
    struct wl_seat* seat;
    struct zwlr_virtual_pointer_manager_v1* manager;
    struct zwlr_virtual_pointer_v1* pointer;
} gPointer;

static const useconds_t kAwaitPollMicroseconds = 20000;

static void onGlobal(void* data, struct wl_registry* registry, uint32_t name,
                     const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !gPointer.seat) {
        gPointer.seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        gPointer.manager =
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    }
}

static void onGlobalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

static uint32_t milliseconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

static void motion(const char* dx, const char* dy) {
    zwlr_virtual_pointer_v1_motion(gPointer.pointer, milliseconds(), wl_fixed_from_double(atof(dx)),
                                   wl_fixed_from_double(atof(dy)));
    zwlr_virtual_pointer_v1_frame(gPointer.pointer);
}

static void button(uint32_t state) {
    zwlr_virtual_pointer_v1_button(gPointer.pointer, milliseconds(), BTN_LEFT, state);
    zwlr_virtual_pointer_v1_frame(gPointer.pointer);
}

/* One step at argv[i]; returns how many words it took, 0 for a bad step. */
static int step(int argc, char** argv, int i) {
    const char* name = argv[i];
    const int left = argc - i - 1;
    if (strcmp(name, "move") == 0 && left >= 2) return motion(argv[i + 1], argv[i + 2]), 3;
    if (strcmp(name, "glide") == 0 && left >= 3) {
        while (access(argv[i + 3], F_OK) != 0) {
            motion(argv[i + 1], argv[i + 2]);
            wl_display_roundtrip(gPointer.display);
            usleep(kAwaitPollMicroseconds);
        }
        return 4;
    }
    if (strcmp(name, "to") == 0 && left >= 4) {
        zwlr_virtual_pointer_v1_motion_absolute(gPointer.pointer, milliseconds(),
                                                (uint32_t)atoi(argv[i + 1]),
                                                (uint32_t)atoi(argv[i + 2]),
                                                (uint32_t)atoi(argv[i + 3]),
                                                (uint32_t)atoi(argv[i + 4]));
        zwlr_virtual_pointer_v1_frame(gPointer.pointer);
        return 5;
    }
    if (strcmp(name, "press") == 0) return button(WL_POINTER_BUTTON_STATE_PRESSED), 1;
    if (strcmp(name, "release") == 0) return button(WL_POINTER_BUTTON_STATE_RELEASED), 1;
    if (strcmp(name, "click") == 0) {
        button(WL_POINTER_BUTTON_STATE_PRESSED);
        button(WL_POINTER_BUTTON_STATE_RELEASED);
        return 1;
    }
    if (strcmp(name, "mark") == 0 && left >= 1) {
        FILE* file = fopen(argv[i + 1], "w");
        if (file) fclose(file);
        return 2;
    }
    if (strcmp(name, "await") == 0 && left >= 1) {
        while (access(argv[i + 1], F_OK) != 0) usleep(kAwaitPollMicroseconds);
        return 2;
    }
    if (strcmp(name, "wait") == 0 && left >= 1) {
        usleep((useconds_t)atoi(argv[i + 1]) * 1000);
        return 2;
    }
    return 0;
}

int main(int argc, char** argv) {
    struct wl_display* display = wl_display_connect(NULL);
    gPointer.display = display;
    if (!display) {
        fprintf(stderr, "virtual_pointer: no Wayland compositor\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, NULL);
    wl_display_roundtrip(display);
    if (!gPointer.manager) {
        fprintf(stderr, "virtual_pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    gPointer.pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(gPointer.manager, gPointer.seat);
    wl_display_roundtrip(display);
    for (int i = 1; i < argc;) {
        const int taken = step(argc, argv, i);
        if (taken == 0) {
            fprintf(stderr, "virtual_pointer: bad step '%s'\n", argv[i]);
            return 2;
        }
        /* The compositor has every request up to here before a mark is made. */
        if (strcmp(argv[i], "mark") != 0) wl_display_roundtrip(display);
        i += taken;
    }
    zwlr_virtual_pointer_v1_destroy(gPointer.pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
