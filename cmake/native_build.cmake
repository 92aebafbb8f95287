# Native Linux build: the platform-free core and its unit tests, and the X11 program, under
# AddressSanitizer and UBSan unless SKYFOLD_SANITIZE is off (release builds; a build without tests
# leaves them out unless asked).
option(SKYFOLD_SANITIZE "Build with AddressSanitizer and UBSan" ${BUILD_TESTING})
if(SKYFOLD_SANITIZE)
  set(SKYFOLD_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                              -fno-omit-frame-pointer)
  target_compile_options(skyfold_portable PUBLIC ${SKYFOLD_SANITIZER_FLAGS})
  target_link_options(skyfold_portable PUBLIC ${SKYFOLD_SANITIZER_FLAGS})
endif()
option(SKYFOLD_FUZZ "Build the libFuzzer targets (clang) instead of the unit tests" OFF)
if(SKYFOLD_FUZZ)
  target_compile_options(skyfold_portable PUBLIC -fsanitize=fuzzer-no-link)
  add_subdirectory(tests/fuzz)
else()
  include(cmake/linux_build.cmake)
  if(NOT SKYFOLD_SANITIZE)
    # Built as Debian builds what it packages: fortified libc calls (they need the optimiser), a
    # stack protector, and the dynamic linker's tables read-only once the program is loaded. A
    # distribution's own fortification level, where its flags set one, stands.
    set(SKYFOLD_HARDENING_FLAGS -fstack-protector-strong)
    if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
      list(APPEND SKYFOLD_HARDENING_FLAGS $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    endif()
    target_compile_options(skyfold_portable PRIVATE ${SKYFOLD_HARDENING_FLAGS})
    foreach(objects ${SKYFOLD_LINUX_OBJECTS})
      target_compile_options(${objects} PRIVATE ${SKYFOLD_HARDENING_FLAGS})
    endforeach()
    foreach(program skyfold skyfold_settings)
      target_compile_options(${program} PRIVATE ${SKYFOLD_HARDENING_FLAGS})
      target_link_options(${program} PRIVATE -Wl,-z,relro -Wl,-z,now)
    endforeach()
  endif()
  option(SKYFOLD_NATIVE_TESTS "Build and register the native unit tests and the X11 tests" ON)
  if(SKYFOLD_NATIVE_TESTS AND BUILD_TESTING)
    add_subdirectory(tests/native)
    add_subdirectory(tests/x11)
    add_subdirectory(tests/wayland)
    add_subdirectory(tests/web)  # the browser build's tests, given the page's folder
  endif()
endif()
