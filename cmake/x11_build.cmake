# X11 build: skyfold, a native program that draws the scene with GLX on its own window, the whole
# screen, or the window xscreensaver gives it, and its settings dialog in GTK 3. The pictures are
# assembled into the program.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_package(X11 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)  # the settings dialog (--config)

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

add_executable(skyfold
  host/x11/entry.cpp
  host/x11/saver_window.cpp
  ${SKYFOLD_GL_SCENE_SOURCES}
  scene/x11/bitmap_resources.cpp
  scene/x11/clock_source.cpp
  scene/x11/scene_surface.cpp
  ${SKYFOLD_EMBEDDED_BITMAPS}
  settings/x11/config_dialog.cpp
  settings/x11/settings_store.cpp)
target_include_directories(skyfold PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(skyfold PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold PRIVATE skyfold_portable OpenGL::OpenGL OpenGL::GLX OpenGL::GLU
                      X11::X11 PkgConfig::GTK3)
set_target_properties(skyfold PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
