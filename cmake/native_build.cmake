# Native Linux build: the platform-free core and its unit tests, under AddressSanitizer and UBSan.
option(SKYFOLD_SANITIZE "Build with AddressSanitizer and UBSan" ON)
if(SKYFOLD_SANITIZE)
  set(SKYFOLD_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                              -fno-omit-frame-pointer)
  target_compile_options(skyfold_portable PUBLIC ${SKYFOLD_SANITIZER_FLAGS})
  target_link_options(skyfold_portable PUBLIC ${SKYFOLD_SANITIZER_FLAGS})
endif()
add_subdirectory(tests/native)
