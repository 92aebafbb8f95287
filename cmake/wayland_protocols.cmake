# Client code for Wayland protocols, generated from their XML by wayland-scanner into the build
# tree: the stable and unstable ones from Debian's wayland-protocols, the layer shell from our own
# copy (no Debian 12 package gives it to C programs).
pkg_get_variable(SKYFOLD_WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(SKYFOLD_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT SKYFOLD_WAYLAND_SCANNER OR NOT SKYFOLD_WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-scanner and wayland-protocols are needed (tools/setup installs them)")
endif()

# skyfold_wayland_protocols(<target> <xml>...): each protocol's header and code for the target.
# NOTE: the layer shell names a parameter "namespace", which C++ cannot read; the header is
# generated with it renamed.
function(skyfold_wayland_protocols target)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/wayland_protocols)
  foreach(xml ${ARGN})
    get_filename_component(base ${xml} NAME_WE)
    set(header ${folder}/${base}-client-protocol.h)
    set(code ${folder}/${base}-protocol.c)
    add_custom_command(OUTPUT ${header}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${SKYFOLD_WAYLAND_SCANNER} client-header ${xml} ${header}.in
      COMMAND sed "s/\\bnamespace\\b/name_space/g" ${header}.in > ${header}
      DEPENDS ${xml} VERBATIM)
    add_custom_command(OUTPUT ${code}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${SKYFOLD_WAYLAND_SCANNER} private-code ${xml} ${code}
      DEPENDS ${xml} VERBATIM)
    target_sources(${target} PRIVATE ${header} ${code})
  endforeach()
  target_include_directories(${target} PRIVATE ${folder})
endfunction()
