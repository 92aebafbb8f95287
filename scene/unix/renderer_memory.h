// How the Linux program keeps the software renderer's per-frame memory: the C library's allocator
// told, before the scene is built, to keep freed memory mapped instead of giving it back.
#pragma once
#ifdef _WIN32
#error "scene/unix/renderer_memory.h belongs to the Linux scene"
#endif

// Raises glibc's trim and mmap thresholds; before the scene is built (and before any thread of the
// GL driver starts), as the thresholds hold for what is allocated after.
void keepRendererMemoryMapped();
