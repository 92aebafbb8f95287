/* The Wayland tests' video player: a small window (xdg-shell) that holds an idle inhibitor
 * (idle-inhibit-unstable-v1) for a while, as players and browsers do while a video plays.
 *   idle_inhibitor FILE SECONDS
 * creates FILE once the compositor has the inhibitor, holds it SECONDS, then ends. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

static struct {
    struct wl_compositor* compositor;
    struct wl_shm* shm;
    struct xdg_wm_base* windows;
    struct zwp_idle_inhibit_manager_v1* inhibits;
    int configured;
} gPlayer;

static const int kSidePixels = 64;
static const uint32_t kGrey = 0xFF808080u;

static void onGlobal(void* data, struct wl_registry* registry, uint32_t name,
                     const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        gPlayer.compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        gPlayer.shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        gPlayer.windows = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
    } else if (strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0) {
        gPlayer.inhibits =
            wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1);
    }
}

static void onGlobalRemoved(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static void onPing(void* data, struct xdg_wm_base* windows, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(windows, serial);
}

static void onConfigure(void* data, struct xdg_surface* surface, uint32_t serial) {
    (void)data;
    xdg_surface_ack_configure(surface, serial);
    gPlayer.configured = 1;
}

static const struct wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemoved};
static const struct xdg_wm_base_listener kWindowsListener = {onPing};
static const struct xdg_surface_listener kSurfaceListener = {onConfigure};

static struct wl_buffer* greyBuffer(void) {
    const int stride = kSidePixels * 4, size = stride * kSidePixels;
    const int file = memfd_create("idle_inhibitor", MFD_CLOEXEC);
    if (file < 0 || ftruncate(file, size) != 0) return NULL;
    uint32_t* pixels = mmap(NULL, (size_t)size, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    if (pixels == MAP_FAILED) return NULL;
    for (int i = 0; i < kSidePixels * kSidePixels; ++i) pixels[i] = kGrey;
    struct wl_shm_pool* pool = wl_shm_create_pool(gPlayer.shm, file, size);
    return wl_shm_pool_create_buffer(pool, 0, kSidePixels, kSidePixels, stride,
                                     WL_SHM_FORMAT_XRGB8888);
}

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) return 1;
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, NULL);
    wl_display_roundtrip(display);
    if (!gPlayer.compositor || !gPlayer.shm || !gPlayer.windows || !gPlayer.inhibits) return 1;
    xdg_wm_base_add_listener(gPlayer.windows, &kWindowsListener, NULL);
    struct wl_surface* surface = wl_compositor_create_surface(gPlayer.compositor);
    struct xdg_surface* window = xdg_wm_base_get_xdg_surface(gPlayer.windows, surface);
    xdg_surface_add_listener(window, &kSurfaceListener, NULL);
    xdg_toplevel_set_title(xdg_surface_get_toplevel(window), "video");
    wl_surface_commit(surface);
    while (!gPlayer.configured && wl_display_dispatch(display) != -1) continue;
    struct wl_buffer* buffer = greyBuffer();
    if (!buffer) return 1;
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_damage(surface, 0, 0, kSidePixels, kSidePixels);
    zwp_idle_inhibit_manager_v1_create_inhibitor(gPlayer.inhibits, surface);
    wl_surface_commit(surface);
    wl_display_roundtrip(display);
    FILE* mark = fopen(argv[1], "w");
    if (mark) fclose(mark);
    sleep((unsigned)atoi(argv[2]));  /* the compositor needs no answer meanwhile but pings */
    wl_display_roundtrip(display);
    return 0;
}
