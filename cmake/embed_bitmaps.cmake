# Writes OUTPUT, a C++ source that holds every .bmp file in BITMAP_DIR as a byte array, named by
# the resource id its file name starts with, and the table of them (scene/embedded_bitmaps.h).
# Run at build time: cmake -DBITMAP_DIR=... -DOUTPUT=... -P embed_bitmaps.cmake
file(GLOB bitmaps ${BITMAP_DIR}/*.bmp)
list(SORT bitmaps)
set(arrays "")
set(entries "")
foreach(bitmap ${bitmaps})
  get_filename_component(name ${bitmap} NAME)
  string(REGEX MATCH "^[0-9]+" id ${name})
  file(READ ${bitmap} bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND arrays "alignas(4) static const uint8_t kBitmap${id}[] = {${bytes}};\n")
  string(APPEND entries "    {${id}, kBitmap${id}, kBitmap${id} + sizeof kBitmap${id}},\n")
endforeach()
file(WRITE ${OUTPUT}.new
  "// Generated from resources/bitmaps/ by cmake/embed_bitmaps.cmake; every .bmp file there.\n"
  "#include \"scene/embedded_bitmaps.h\"\n\n${arrays}\n"
  "const EmbeddedBitmap kEmbeddedBitmaps[] = {\n${entries}};\n\n"
  "const int kEmbeddedBitmapCount = sizeof kEmbeddedBitmaps / sizeof kEmbeddedBitmaps[0];\n")
file(RENAME ${OUTPUT}.new ${OUTPUT})
