# Linux build: skyfold, a native program that draws the scene on X11 (GLX, on its own window, the
# whole screen, or the window xscreensaver gives it) or on Wayland (EGL, on every monitor's layer
# surface or a window of its own), and its settings dialog in GTK 3. The pictures are compiled into
# the program.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX EGL)
find_package(X11 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)  # the settings dialog (--config)
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl xkbcommon)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-unix-2.0)  # the idle watcher's D-Bus
find_package(PlasmaWaylandProtocols REQUIRED)  # org_kde_kwin_idle's protocol file
include(cmake/embedded_bitmaps.cmake)
include(cmake/wayland_protocols.cmake)

# The pictures, the settings store and the scene, shared by the programs below; the scene's X11 and
# Wayland surfaces apart.
add_library(skyfold_linux_pictures OBJECT ${SKYFOLD_EMBEDDED_BITMAP_SOURCES})
add_library(skyfold_linux_settings OBJECT settings/unix/settings_store.cpp
            settings/unix/user_files.cpp)
add_library(skyfold_linux_scene OBJECT
  ${SKYFOLD_GL_SCENE_SOURCES}
  scene/frame_rate_overlay.cpp  # --fps, which only the Linux program has
  scene/scene_views.cpp         # a view per monitor
  scene/window_views.cpp        # ... in one window (X11)
  scene/unix/machine_sources.cpp
  scene/unix/renderer_memory.cpp
  scene/unix/scene_report.cpp)
target_link_libraries(skyfold_linux_scene PUBLIC OpenGL::OpenGL OpenGL::GLU)
add_library(skyfold_x11_scene OBJECT scene/x11/pacing_sources.cpp scene/x11/scene_surface.cpp
            scene/x11/screen_monitors.cpp)
target_link_libraries(skyfold_x11_scene PUBLIC OpenGL::GLX X11::X11 X11::Xrandr X11::Xinerama)
add_library(skyfold_wayland_scene OBJECT scene/wayland/scene_surface.cpp)
target_link_libraries(skyfold_wayland_scene PUBLIC OpenGL::EGL PkgConfig::WAYLAND)
# The clock is apart, so that a test can run the scene on a fixed one.
add_library(skyfold_linux_clock OBJECT scene/unix/clock_source.cpp)
set(SKYFOLD_LINUX_OBJECTS skyfold_linux_pictures skyfold_linux_settings skyfold_linux_scene
                          skyfold_x11_scene skyfold_wayland_scene skyfold_linux_clock)
foreach(objects ${SKYFOLD_LINUX_OBJECTS})
  target_include_directories(${objects} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${objects} PRIVATE ${SKYFOLD_WARNINGS})
  target_link_libraries(${objects} PUBLIC skyfold_portable)
endforeach()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_executable(skyfold
  host/unix/display_report.cpp
  host/unix/entry.cpp
  host/unix/run_control.cpp
  host/x11/saver_window.cpp
  host/x11/xscreensaver_install.cpp
  host/wayland/monitor_list.cpp
  host/wayland/monitor_surfaces.cpp
  host/wayland/own_window.cpp
  host/wayland/saver_lock.cpp
  host/wayland/seat_input.cpp
  host/wayland/surface_scale.cpp
  host/wayland/wayland_globals.cpp
  host/wayland/wayland_run.cpp
  # the idle watcher (--idle) and its autostart entry
  host/unix/autostart_file.cpp
  host/unix/desktop_holds.cpp
  host/unix/hold_keeping.cpp
  host/unix/idle_watch.cpp
  host/unix/lock_settings.cpp
  host/unix/logind.cpp
  host/unix/mutter_idle.cpp
  host/unix/program_path.cpp
  host/unix/screensaver_service.cpp
  host/unix/session_lock.cpp
  host/wayland/ext_idle_notify.cpp
  host/wayland/idle_display.cpp
  host/wayland/kde_idle.cpp
  host/x11/screen_saver_idle.cpp)
skyfold_wayland_protocols(skyfold
  ${CMAKE_SOURCE_DIR}/host/wayland/protocols/wlr-layer-shell-unstable-v1.xml
  ${SKYFOLD_WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml
  ${SKYFOLD_WAYLAND_PROTOCOLS_DIR}/unstable/xdg-decoration/xdg-decoration-unstable-v1.xml
  ${SKYFOLD_WAYLAND_PROTOCOLS_DIR}/staging/fractional-scale/fractional-scale-v1.xml
  ${SKYFOLD_WAYLAND_PROTOCOLS_DIR}/stable/viewporter/viewporter.xml
  ${SKYFOLD_WAYLAND_PROTOCOLS_DIR}/staging/ext-idle-notify/ext-idle-notify-v1.xml
  ${PLASMA_WAYLAND_PROTOCOLS_DIR}/idle.xml)
target_compile_options(skyfold PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold PRIVATE ${SKYFOLD_LINUX_OBJECTS} PkgConfig::GIO X11::Xss X11::Xext)

# The settings dialog (GTK 3), which skyfold --config runs from beside itself: a program of its own,
# so that the saver does not load the toolkit's many libraries at every start.
add_executable(skyfold_settings host/unix/settings_entry.cpp host/unix/display_report.cpp
               settings/unix/config_dialog.cpp settings/unix/settings_save.cpp)
set_target_properties(skyfold_settings PROPERTIES OUTPUT_NAME skyfold-settings)
target_compile_options(skyfold_settings PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold_settings PRIVATE skyfold_linux_pictures skyfold_linux_settings
                      PkgConfig::GTK3)

include(cmake/linux_install.cmake)

# The helpers of the tests and of tools/bench, which a build without tests leaves out.
if(NOT BUILD_TESTING)
  return()
endif()

# Counts a native GL program's buffer swaps when preloaded (tools/bench's cost run, the X11 tests).
add_library(swap_count MODULE tools/bench_scene/swap_count.c)
set_target_properties(swap_count PROPERTIES PREFIX ""
                      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_compile_options(swap_count PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(swap_count PRIVATE ${CMAKE_DL_LIBS})
# Keeps glibc's allocator defaults in a native program when preloaded (tools/bench's cost run).
add_library(malloc_defaults MODULE tools/bench_scene/malloc_defaults.c)
set_target_properties(malloc_defaults PROPERTIES PREFIX ""
                      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_compile_options(malloc_defaults PRIVATE ${SKYFOLD_WARNINGS})

# Frame-time benchmark of the real scene (tools/bench), beside the Wine one.
add_executable(x11_scene_bench tools/bench_scene/x11_scene_bench.cpp)
target_link_libraries(x11_scene_bench PRIVATE skyfold_linux_pictures skyfold_linux_settings
                      skyfold_linux_scene skyfold_x11_scene skyfold_linux_clock)
target_compile_options(x11_scene_bench PRIVATE ${SKYFOLD_WARNINGS})
