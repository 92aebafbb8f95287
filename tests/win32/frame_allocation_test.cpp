// A run of the real scene frame after frame: the frame path allocates nothing from the heap
// (malloc, calloc, realloc and operator new are counted), and the textures and display lists made
// at creation are the same ones hundreds of frames later.
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>
#include <new>

#include "host/win32/run_modes.h"
#include "host/win32/saver_window.h"
#include "scene/note_textures.h"
#include "tests/win32/saver_run.h"
#include "tests/win32/scene_frames.h"
#include "tests/win32/win32_test_support.h"

static volatile long gHeapRequests = 0;

extern "C" void* __real_malloc(size_t bytes);
extern "C" void* __real_calloc(size_t count, size_t bytes);
extern "C" void* __real_realloc(void* block, size_t bytes);
extern "C" void* __wrap_malloc(size_t bytes) { ++gHeapRequests; return __real_malloc(bytes); }
extern "C" void* __wrap_calloc(size_t count, size_t bytes) {
    ++gHeapRequests;
    return __real_calloc(count, bytes);
}
extern "C" void* __wrap_realloc(void* block, size_t bytes) {
    ++gHeapRequests;
    return __real_realloc(block, bytes);
}
void* operator new(size_t bytes) {
    ++gHeapRequests;
    if (void* block = __real_malloc(bytes ? bytes : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

TEST(FramePath, AllocatesNothingAndKeepsItsTexturesAndLists) {
    initHostState(GetModuleHandleA(NULL));
    ASSERT_EQ(SaverStart::Created, startSaverWindow(NULL));
    // Both waits are made before counting starts: building them may itself allocate.
    FrameCounter frames;
    const std::function<bool()> warmedUp = [&frames] { return frames.reached(20); };
    const std::function<bool()> longRun = [&frames] { return frames.reached(420); };
    ASSERT_TRUE(pumpUntil(warmedUp));

    unsigned int slotsBefore[kTextureSlotCount];
    for (int slot = 0; slot < kTextureSlotCount; ++slot) slotsBefore[slot] = textureSlots[slot];
    const long requestsBefore = gHeapRequests;
    EXPECT_GT(requestsBefore, 0) << "the counter must see the scene's own set-up allocations";
    ASSERT_TRUE(pumpUntil(longRun, 120000));
    const long requestsDuring = gHeapRequests - requestsBefore;

    EXPECT_EQ(0, requestsDuring) << "heap requests in 400 frames";
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        EXPECT_EQ(slotsBefore[slot], textureSlots[slot]) << slot;
        EXPECT_TRUE(glIsTexture(textureSlots[slot])) << slot;
    }
    for (GLuint list = 1; list <= 12; ++list) EXPECT_TRUE(glIsList(list)) << list;
    SendMessageA(saverWindowHandle(), WM_CLOSE, 0, 0);
    endSaverRun();
}
