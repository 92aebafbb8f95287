// Counts a program's buffer swaps for the cost run of tools/bench. Loaded with LD_PRELOAD into a
// native GL program (GLX, or EGL as xscreensaver's own hacks use) or into Wine, it keeps the count in the file named by $SKYFOLD_SWAP_COUNT (one
// 64-bit number, mapped shared), which the bench reads while the program runs: no system call per
// frame, so the count costs the program nothing measurable.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

typedef void (*SwapFn)(Display* display, GLXDrawable drawable);
typedef void* (*DlsymFn)(void* handle, const char* name);
typedef unsigned int (*EglSwapFn)(void* display, void* surface);

static struct {
    uint64_t* count;  // null when no file was named
    SwapFn realSwap;
    EglSwapFn realEglSwap;
    DlsymFn realDlsym;
} gCounter;

static DlsymFn realDlsym(void) {
    if (!gCounter.realDlsym) {
        gCounter.realDlsym = (DlsymFn)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
        if (!gCounter.realDlsym) gCounter.realDlsym = (DlsymFn)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
    }
    return gCounter.realDlsym;
}

__attribute__((constructor)) static void mapCount(void) {
    const char* path = getenv("SKYFOLD_SWAP_COUNT");
    if (!path) return;
    const int file = open(path, O_RDWR | O_CREAT, 0644);
    if (file < 0 || ftruncate(file, sizeof(uint64_t)) != 0) return;
    void* mapped = mmap(NULL, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    close(file);
    if (mapped != MAP_FAILED) gCounter.count = mapped;
}

static void countSwap(void) {
    if (gCounter.count) __atomic_add_fetch(gCounter.count, 1, __ATOMIC_RELAXED);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    if (!gCounter.realSwap) gCounter.realSwap = (SwapFn)realDlsym()(RTLD_NEXT, "glXSwapBuffers");
    countSwap();
    gCounter.realSwap(display, drawable);
}

unsigned int eglSwapBuffers(void* display, void* surface) {
    if (!gCounter.realEglSwap) {
        gCounter.realEglSwap = (EglSwapFn)realDlsym()(RTLD_NEXT, "eglSwapBuffers");
    }
    countSwap();
    return gCounter.realEglSwap(display, surface);
}

// NOTE: Wine looks glXSwapBuffers up in libGL by name instead of calling it, so the lookup is
// where it gets the counting one.
void* dlsym(void* handle, const char* name) {
    void* found = realDlsym()(handle, name);
    if (found && strcmp(name, "glXSwapBuffers") == 0 && found != (void*)glXSwapBuffers) {
        gCounter.realSwap = (SwapFn)found;
        return (void*)glXSwapBuffers;
    }
    return found;
}
