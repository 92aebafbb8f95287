# The pictures compiled into the programs that have no resource section (Linux, the browser): a
# generated source of byte arrays, remade when a picture changes, and the lookup by resource id.
file(GLOB SKYFOLD_BITMAP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)
set(SKYFOLD_EMBEDDED_BITMAP_DATA ${CMAKE_BINARY_DIR}/generated/embedded_bitmap_data.cpp)
add_custom_command(OUTPUT ${SKYFOLD_EMBEDDED_BITMAP_DATA}
  COMMAND ${CMAKE_COMMAND} -DBITMAP_DIR=${CMAKE_SOURCE_DIR}/resources/bitmaps
          -DOUTPUT=${SKYFOLD_EMBEDDED_BITMAP_DATA} -P ${CMAKE_SOURCE_DIR}/cmake/embed_bitmaps.cmake
  DEPENDS ${SKYFOLD_BITMAP_FILES} ${CMAKE_SOURCE_DIR}/cmake/embed_bitmaps.cmake
  COMMENT "Embedding the pictures")
set(SKYFOLD_EMBEDDED_BITMAP_SOURCES scene/embedded_bitmaps.cpp ${SKYFOLD_EMBEDDED_BITMAP_DATA})
