# Writes the page's shell: host/web/shell.html with page.css and page.js in place of the comments
# that mark them, so that the page stays one file. Run with -DPARTS_DIR=... -DOUTPUT=...
file(READ ${PARTS_DIR}/shell.html shell)
file(READ ${PARTS_DIR}/page.css style)
file(READ ${PARTS_DIR}/page.js script)
string(FIND "${script}" "</script" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "page.js may not hold '</script', which would end it inside the page")
endif()
string(REPLACE "/* page.css */" "${style}" shell "${shell}")
string(REPLACE "/* page.js */" "${script}" shell "${shell}")
file(WRITE ${OUTPUT} "${shell}")
