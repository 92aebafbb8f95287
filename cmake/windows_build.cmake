# Windows build: skyfold.scr, the preview host used by tools/run, the test doubles of the Windows 9x
# password components and the Win32 test programs. Every program links its runtime statically so
# that it imports system DLLs only.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
if(MSVC)
  add_link_options(/MANIFEST:NO)  # the resource script embeds the program's own manifest
endif()
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

add_library(skyfold_host OBJECT
  host/win32/password_gate.cpp
  host/win32/run_modes.cpp
  host/win32/saver_window.cpp
  settings/win32/config_dialog.cpp
  settings/win32/settings_store.cpp)
add_library(skyfold_scene OBJECT
  ${SKYFOLD_GL_SCENE_SOURCES}
  scene/win32/bitmap_resources.cpp
  scene/win32/clock_source.cpp
  scene/win32/pacing_sources.cpp
  scene/win32/scene_surface.cpp)
foreach(objects skyfold_host skyfold_scene)
  target_include_directories(${objects} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${objects} PRIVATE ${SKYFOLD_WARNINGS})
endforeach()

# windres reports no dependencies: name the files the resource script pulls in.
file(GLOB SKYFOLD_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)
set_source_files_properties(resources/skyfold.rc PROPERTIES OBJECT_DEPENDS
  "${SKYFOLD_RESOURCE_FILES};${CMAKE_SOURCE_DIR}/resources/skyfold.ico;${CMAKE_BINARY_DIR}/generated/skyfold.manifest;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")

add_executable(skyfold WIN32 host/win32/entry.cpp resources/skyfold.rc)
set_target_properties(skyfold PROPERTIES SUFFIX ".scr")
target_compile_options(skyfold PRIVATE ${SKYFOLD_WARNINGS})
configure_file(resources/version.h.in ${CMAKE_BINARY_DIR}/generated/skyfold_version.h)
set(SKYFOLD_MANIFEST_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(resources/skyfold.manifest ${CMAKE_BINARY_DIR}/generated/skyfold.manifest @ONLY)
target_include_directories(skyfold PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(skyfold PRIVATE skyfold_host skyfold_scene skyfold_portable
                      opengl32 glu32 winmm)

# The same program under a second name, for which the test prefix emulates Windows 98.
add_custom_command(TARGET skyfold POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:skyfold> ${CMAKE_BINARY_DIR}/bin/skyfold98.scr)

add_executable(preview_host tools/preview_host/preview_host.cpp)
target_compile_options(preview_host PRIVATE ${SKYFOLD_WARNINGS})

option(SKYFOLD_END_TO_END_TESTS "Register the end-to-end tests (X input through xdotool)" ON)
if(BUILD_TESTING)
  add_subdirectory(tests/win32)
endif()

# Frame-time benchmark of the real scene (tools/bench).
add_executable(scene_bench tools/bench_scene/scene_bench.cpp $<TARGET_OBJECTS:skyfold_host>
               $<TARGET_OBJECTS:skyfold_scene> resources/skyfold.rc)
target_include_directories(scene_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(scene_bench PRIVATE skyfold_portable opengl32 glu32 winmm)
