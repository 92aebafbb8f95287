# Browser build: skyfold.html, one self-contained page (the scene compiled to WebAssembly, drawing
# through the OpenGL 1.1 layer over WebGL 1, with the pictures, the page's script and style inside)
# that opens from file:// with no server. Built with Debian's Emscripten (emcmake).
include(cmake/embedded_bitmaps.cmake)

# The scene on WebGL; its clock is apart, so that a test can run the scene on a fixed one.
add_library(skyfold_web_scene OBJECT
  ${SKYFOLD_GL_SCENE_SOURCES}
  ${SKYFOLD_EMBEDDED_BITMAP_SOURCES}
  scene/web/gl11.cpp
  scene/web/gl11_atlas.cpp
  scene/web/webgl_backend.cpp
  scene/web/scene_surface.cpp
  scene/web/webgl_context.cpp)
add_library(skyfold_web_clock OBJECT scene/web/clock_source.cpp)
foreach(objects skyfold_web_scene skyfold_web_clock)
  target_include_directories(${objects} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${objects} PRIVATE ${SKYFOLD_WARNINGS})
  target_link_libraries(${objects} PUBLIC skyfold_portable)
endforeach()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Link options of every page: one file (SINGLE_FILE inlines the WebAssembly; without it file://
# cannot load it), WebGL 1 only, no filesystem. NOTE: Debian's emcc 3.1.6 fails in its HTML
# minifier at -O1 and above, after writing the page, unless that step is off.
set(SKYFOLD_WEB_LINK_OPTIONS -sSINGLE_FILE=1 -sMINIFY_HTML=0 -sENVIRONMENT=web
    -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1 -sFILESYSTEM=0 -sEXIT_RUNTIME=0
    -sALLOW_MEMORY_GROWTH=0 -sINITIAL_MEMORY=33554432)

# The page: shell.html with page.css and page.js written inside it (one file, no fetch of its own
# files), which Emscripten fills with its script.
set(SKYFOLD_PAGE_PARTS ${CMAKE_SOURCE_DIR}/host/web/shell.html ${CMAKE_SOURCE_DIR}/host/web/page.css
    ${CMAKE_SOURCE_DIR}/host/web/page.js)
set(SKYFOLD_PAGE_SHELL ${CMAKE_BINARY_DIR}/page_shell.html)
add_custom_command(OUTPUT ${SKYFOLD_PAGE_SHELL}
  COMMAND ${CMAKE_COMMAND} -DPARTS_DIR=${CMAKE_SOURCE_DIR}/host/web -DOUTPUT=${SKYFOLD_PAGE_SHELL}
          -P ${CMAKE_SOURCE_DIR}/cmake/web_page_shell.cmake
  DEPENDS ${SKYFOLD_PAGE_PARTS} ${CMAKE_SOURCE_DIR}/cmake/web_page_shell.cmake
  COMMENT "Writing the page's shell")
add_custom_target(skyfold_page_shell DEPENDS ${SKYFOLD_PAGE_SHELL})

# What page.js calls: the hosts' settings and pause, the settings dialog's rules, and the stored
# settings taking over after its OK.
set(SKYFOLD_PAGE_EXPORTS _main,_malloc,_free,_skyfoldHostSetting,_skyfoldHostPaused,_skyfoldDialogFace,_skyfoldDialogBoxes,_skyfoldDialogOpen,_skyfoldDialogCommand,_skyfoldDialogScroll,_skyfoldUseStoredSettings)

add_executable(skyfold host/web/entry.cpp host/web/dialog_face.cpp settings/web/config_dialog.cpp
               settings/web/settings_store.cpp)
set_target_properties(skyfold PROPERTIES SUFFIX ".html")
target_compile_options(skyfold PRIVATE ${SKYFOLD_WARNINGS})
target_link_libraries(skyfold PRIVATE skyfold_web_scene skyfold_web_clock)
add_dependencies(skyfold skyfold_page_shell)
target_link_options(skyfold PRIVATE ${SKYFOLD_WEB_LINK_OPTIONS}
                    -sEXPORTED_FUNCTIONS=${SKYFOLD_PAGE_EXPORTS}
                    -sEXPORTED_RUNTIME_METHODS=ccall,HEAPU8,HEAP32
                    "--shell-file=${SKYFOLD_PAGE_SHELL}")
set_property(TARGET skyfold APPEND PROPERTY LINK_DEPENDS ${SKYFOLD_PAGE_SHELL})
