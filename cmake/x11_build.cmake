# X11 build: skyfold, a native program that draws the scene with GLX on its own window, the whole
# screen, or the window xscreensaver gives it. The pictures are assembled into the program.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_package(X11 REQUIRED)

# One assembler entry per picture, named by the resource id its file name starts with.
file(GLOB SKYFOLD_BITMAP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)
set(SKYFOLD_BITMAP_ASSEMBLY "")
set(SKYFOLD_BITMAP_SYMBOLS "")
set(SKYFOLD_BITMAP_ENTRIES "")
foreach(bitmap ${SKYFOLD_BITMAP_FILES})
  get_filename_component(bitmap_name ${bitmap} NAME)
  string(REGEX MATCH "^[0-9]+" bitmap_id ${bitmap_name})
  set(symbol skyfold_bitmap_${bitmap_id})
  string(APPEND SKYFOLD_BITMAP_ASSEMBLY
    "        \".balign 4\\n.globl ${symbol}\\n.hidden ${symbol}\\n${symbol}:\\n\"\n"
    "        \".incbin \\\"${bitmap}\\\"\\n.globl ${symbol}_end\\n.hidden ${symbol}_end\\n${symbol}_end:\\n\"\n")
  string(APPEND SKYFOLD_BITMAP_SYMBOLS "extern const uint8_t ${symbol}[], ${symbol}_end[];\n")
  string(APPEND SKYFOLD_BITMAP_ENTRIES "    {${bitmap_id}, ${symbol}, ${symbol}_end},\n")
endforeach()
set(SKYFOLD_EMBEDDED_BITMAPS ${CMAKE_BINARY_DIR}/generated/embedded_bitmaps.cpp)
configure_file(scene/x11/embedded_bitmaps.cpp.in ${SKYFOLD_EMBEDDED_BITMAPS} @ONLY)
set_source_files_properties(${SKYFOLD_EMBEDDED_BITMAPS} PROPERTIES OBJECT_DEPENDS
                            "${SKYFOLD_BITMAP_FILES}")

# The scene and the settings store on X11; the program and the benchmark each add their host.
add_library(skyfold_x11_scene OBJECT
  ${SKYFOLD_GL_SCENE_SOURCES}
  scene/x11/bitmap_resources.cpp
  scene/x11/clock_source.cpp
  scene/x11/scene_surface.cpp
  ${SKYFOLD_EMBEDDED_BITMAPS}
  settings/x11/settings_store.cpp)
target_include_directories(skyfold_x11_scene PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(skyfold_x11_scene PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold_x11_scene PUBLIC skyfold_portable OpenGL::OpenGL OpenGL::GLX
                      OpenGL::GLU X11::X11)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_executable(skyfold host/x11/entry.cpp host/x11/saver_window.cpp host/x11/xscreensaver_install.cpp)
target_compile_options(skyfold PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold PRIVATE skyfold_x11_scene)

# Frame-time benchmark of the real scene (tools/bench), beside the Wine one.
add_executable(x11_scene_bench tools/bench_scene/x11_scene_bench.cpp)
target_link_libraries(x11_scene_bench PRIVATE skyfold_x11_scene)
target_compile_options(x11_scene_bench PRIVATE ${SKYFOLD_WARNINGS})
