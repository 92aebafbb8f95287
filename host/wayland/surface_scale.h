// The scale a Wayland surface draws at: the compositor's preferred fractional scale (1.25, 1.5)
// where it offers fractional scales with viewporter, drawn at the monitor's real pixel size;
// elsewhere the monitor's integer scale through the buffer scale. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/surface_scale.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

#include <cstdint>

struct wp_fractional_scale_v1;
struct wp_viewport;

struct SurfaceScale {
    wl_surface* surface;
    wp_fractional_scale_v1* fractional;  // with viewport, where the compositor offers both
    wp_viewport* viewport;
    uint32_t scale120;      // fractional scale in 120ths; 0 until the compositor says
    int32_t integerScale;   // the monitor's
    void (*changed)(void* owner);  // the scale changed: the owner sizes its buffer again
    void* owner;
};

struct BufferSize {
    int32_t width;   // pixels
    int32_t height;  // pixels
};

// Follows the surface's scale from now on; changed is called when it changes.
void attachSurfaceScale(SurfaceScale* scale, wl_surface* surface, void (*changed)(void* owner),
                        void* owner);

// The monitor's integer scale: used where there is no fractional scale, and until one comes.
void setIntegerScale(SurfaceScale* scale, int32_t integerScale);

// Tells the compositor how the buffer maps onto the logical size and returns the buffer's size.
BufferSize applySurfaceScale(SurfaceScale* scale, int32_t logicalWidth, int32_t logicalHeight);

// Lets the scale objects go, before the surface.
void detachSurfaceScale(SurfaceScale* scale);
