# Shared part of the two mingw-w64 toolchain files: compilers, resource compiler, search paths and
# the Wine wrapper through which CTest runs every cross-compiled test program.
set(CMAKE_C_COMPILER ${SKYFOLD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SKYFOLD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SKYFOLD_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SKYFOLD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/lib/wine_run)
