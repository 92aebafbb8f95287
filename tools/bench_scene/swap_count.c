// Counts a native program's buffer swaps for the cost run of tools/bench. Loaded with LD_PRELOAD
// into a GL program (GLX, or EGL as xscreensaver's own hacks use), it keeps the count in the file
// named by $SKYFOLD_SWAP_COUNT (one 64-bit number, mapped shared), which the bench reads while the
// program runs: no system call per frame, so counting costs the program nothing measurable.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

typedef void (*GlxSwapFn)(Display* display, GLXDrawable drawable);
typedef unsigned int (*EglSwapFn)(void* display, void* surface);

static struct {
    uint64_t* count;  // null when no file was named
    GlxSwapFn realGlxSwap;
    EglSwapFn realEglSwap;
} gCounter;

__attribute__((constructor)) static void mapCount(void) {
    const char* path = getenv("SKYFOLD_SWAP_COUNT");
    if (!path) return;
    const int file = open(path, O_RDWR | O_CREAT, 0644);
    if (file < 0) return;
    void* mapped = MAP_FAILED;
    if (ftruncate(file, sizeof(uint64_t)) == 0) {
        mapped = mmap(NULL, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    }
    close(file);
    if (mapped != MAP_FAILED) gCounter.count = mapped;
}

static void countSwap(void) {
    if (gCounter.count) __atomic_add_fetch(gCounter.count, 1, __ATOMIC_RELAXED);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    if (!gCounter.realGlxSwap) *(void**)&gCounter.realGlxSwap = dlsym(RTLD_NEXT, "glXSwapBuffers");
    countSwap();
    gCounter.realGlxSwap(display, drawable);
}

unsigned int eglSwapBuffers(void* display, void* surface) {
    if (!gCounter.realEglSwap) *(void**)&gCounter.realEglSwap = dlsym(RTLD_NEXT, "eglSwapBuffers");
    countSwap();
    return gCounter.realEglSwap(display, surface);
}
