# Cross-compiles the Windows build for x86 with mingw-w64 (posix thread model); CTest runs the
# resulting programs under Wine (needs wine32 in the prefix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(SKYFOLD_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
