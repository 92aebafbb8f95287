// The input of a Wayland run: the seat's keyboard, pointer and touch screen, taken and dropped as
// the seat gains and loses them, and the input rules of the run's target applied to them. In a
// full-screen run the cursor is hidden over its surfaces. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/seat_input.h belongs to the Wayland host"
#endif

#include <wayland-client.h>

#include <cstdint>

#include "host/program_options.h"  // DrawTarget

// A wl_seat global came; the first one is the run's. Input that ends a run of this target ends it
// (endWaylandRun). A background run binds no seat at all: its input is the desktop's.
void bindSeat(wl_registry* registry, uint32_t name, uint32_t version, DrawTarget target);

// Lets the seat and its devices go.
void releaseSeat();
