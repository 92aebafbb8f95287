// The allocator's thresholds for the Linux program. Mesa's software rasteriser (llvmpipe) allocates
// its scene data afresh every frame and frees it at the frame's end; with glibc's defaults the
// freed memory is often returned to the system and faulted in again the next frame, hundreds of
// page faults a frame, which makes identical runs differ by half their frame rate.
#include "scene/unix/renderer_memory.h"

#include <malloc.h>

// NOTE: 32 MiB is the largest mmap threshold that glibc takes on a 64-bit system (its own dynamic
// threshold stops there too); blocks below it come from the heap, which keeps them mapped.
static const int kMmapThresholdBytes = 32 * 1024 * 1024;
static const int kTrimThresholdBytes = 128 * 1024 * 1024;  // free memory kept at a heap's top

void keepRendererMemoryMapped() {
    // A threshold glibc refuses leaves its default in place: the program then only draws less
    // steadily, so the result is not reported.
    mallopt(M_MMAP_THRESHOLD, kMmapThresholdBytes);
    mallopt(M_TRIM_THRESHOLD, kTrimThresholdBytes);
}
