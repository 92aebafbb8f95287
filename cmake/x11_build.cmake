# X11 build: skyfold, a native program that draws the scene with GLX on its own window, the whole
# screen, or the window xscreensaver gives it, and its settings dialog in GTK 3. The pictures are
# compiled into the program.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_package(X11 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)  # the settings dialog (--config)
include(cmake/embedded_bitmaps.cmake)

# The pictures, the settings store and the scene on X11, shared by the programs below.
add_library(skyfold_x11_pictures OBJECT ${SKYFOLD_EMBEDDED_BITMAP_SOURCES})
add_library(skyfold_x11_settings OBJECT settings/x11/settings_store.cpp settings/x11/user_files.cpp)
add_library(skyfold_x11_scene OBJECT
  ${SKYFOLD_GL_SCENE_SOURCES}
  scene/frame_rate_overlay.cpp  # --fps, which only the X11 program has
  scene/x11/pacing_sources.cpp
  scene/x11/scene_surface.cpp)
target_link_libraries(skyfold_x11_scene PUBLIC OpenGL::OpenGL OpenGL::GLX OpenGL::GLU X11::X11
                      X11::Xrandr)
# The clock is apart, so that a test can run the scene on a fixed one.
add_library(skyfold_x11_clock OBJECT scene/x11/clock_source.cpp)
foreach(objects skyfold_x11_pictures skyfold_x11_settings skyfold_x11_scene skyfold_x11_clock)
  target_include_directories(${objects} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${objects} PRIVATE ${SKYFOLD_WARNINGS})
  target_link_libraries(${objects} PUBLIC skyfold_portable)
endforeach()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# An object library's objects reach only the targets that name it.
set(SKYFOLD_X11_SAVER_OBJECTS skyfold_x11_scene skyfold_x11_clock skyfold_x11_pictures
                               skyfold_x11_settings)

add_executable(skyfold host/x11/entry.cpp host/x11/display_report.cpp host/x11/saver_window.cpp
               host/x11/xscreensaver_install.cpp)
target_compile_options(skyfold PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold PRIVATE ${SKYFOLD_X11_SAVER_OBJECTS})

# The settings dialog (GTK 3), which skyfold --config runs from beside itself: a program of its own,
# so that the saver does not load the toolkit's many libraries at every start.
add_executable(skyfold_settings host/x11/settings_entry.cpp host/x11/display_report.cpp
               settings/x11/config_dialog.cpp settings/x11/settings_save.cpp)
set_target_properties(skyfold_settings PROPERTIES OUTPUT_NAME skyfold-settings)
target_compile_options(skyfold_settings PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold_settings PRIVATE skyfold_x11_pictures skyfold_x11_settings
                      PkgConfig::GTK3)

# Counts a native GL program's buffer swaps when preloaded (tools/bench's cost run, the X11 tests).
add_library(swap_count MODULE tools/bench_scene/swap_count.c)
set_target_properties(swap_count PROPERTIES PREFIX ""
                      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_compile_options(swap_count PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(swap_count PRIVATE ${CMAKE_DL_LIBS})

# Frame-time benchmark of the real scene (tools/bench), beside the Wine one.
add_executable(x11_scene_bench tools/bench_scene/x11_scene_bench.cpp)
target_link_libraries(x11_scene_bench PRIVATE ${SKYFOLD_X11_SAVER_OBJECTS})
target_compile_options(x11_scene_bench PRIVATE ${SKYFOLD_WARNINGS})
