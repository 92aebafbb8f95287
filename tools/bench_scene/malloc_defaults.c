// Leaves a native program's allocator at glibc's defaults for tools/bench's cost run: preloaded,
// it makes mallopt a call that changes nothing, so that the same program is measured with the
// thresholds it sets at start-up (scene/unix/renderer_memory.cpp) and without them.
#include <malloc.h>

int mallopt(int param, int value) {
    (void)param;
    (void)value;
    return 1;  // as if taken
}
