// A surface's scale. With fractional scales the buffer is the logical size times the scale,
// rounded, at buffer scale 1, and the viewport shows it at the logical size: drawing at the next
// whole scale and letting the compositor shrink it would cost up to 2.56 times the pixels.
#include "host/wayland/surface_scale.h"

#include <cmath>

#include "host/wayland/wayland_globals.h"

static const double kFractionalScaleUnit = 120.0;  // the protocol's scales are in 120ths

static void onPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale120) {
    SurfaceScale* scale = static_cast<SurfaceScale*>(data);
    if (scale120 == 0 || scale120 == scale->scale120) return;
    scale->scale120 = scale120;
    if (scale->changed) scale->changed(scale->owner);
}

static const wp_fractional_scale_v1_listener kFractionalListener = {onPreferredScale};

void attachSurfaceScale(SurfaceScale* scale, wl_surface* surface, void (*changed)(void* owner),
                        void* owner) {
    *scale = SurfaceScale{surface, nullptr, nullptr, 0, 1, changed, owner};
    const WaylandGlobals& globals = waylandGlobals();
    if (!globals.fractionalScales || !globals.viewporter) return;
    scale->fractional =
        wp_fractional_scale_manager_v1_get_fractional_scale(globals.fractionalScales, surface);
    wp_fractional_scale_v1_add_listener(scale->fractional, &kFractionalListener, scale);
    scale->viewport = wp_viewporter_get_viewport(globals.viewporter, surface);
}

void setIntegerScale(SurfaceScale* scale, int32_t integerScale) {
    if (integerScale == scale->integerScale) return;
    scale->integerScale = integerScale;
    if (scale->scale120 == 0 && scale->changed) scale->changed(scale->owner);
}

static int32_t scaled(int32_t logical, uint32_t scale120) {
    return static_cast<int32_t>(std::lround(logical * (scale120 / kFractionalScaleUnit)));
}

BufferSize applySurfaceScale(SurfaceScale* scale, int32_t logicalWidth, int32_t logicalHeight) {
    if (!scale->viewport) {
        wl_surface_set_buffer_scale(scale->surface, scale->integerScale);
        return {logicalWidth * scale->integerScale, logicalHeight * scale->integerScale};
    }
    const uint32_t scale120 = scale->scale120
                                  ? scale->scale120
                                  : static_cast<uint32_t>(scale->integerScale * kFractionalScaleUnit);
    wl_surface_set_buffer_scale(scale->surface, 1);
    wp_viewport_set_destination(scale->viewport, logicalWidth, logicalHeight);
    return {scaled(logicalWidth, scale120), scaled(logicalHeight, scale120)};
}

void detachSurfaceScale(SurfaceScale* scale) {
    if (scale->viewport) wp_viewport_destroy(scale->viewport);
    if (scale->fractional) wp_fractional_scale_v1_destroy(scale->fractional);
    *scale = SurfaceScale{};
}
