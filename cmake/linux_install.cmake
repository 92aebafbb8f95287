# The Linux program's install (cmake --install, honouring DESTDIR and CMAKE_INSTALL_PREFIX): the
# saver and its settings dialog in xscreensaver's folder of display modes, the saver's name on the
# PATH, and tools/release/linux/'s files beside them, with the licence. Each distribution's package
# sets the two xscreensaver folders as its own xscreensaver lays them out; relative folders are
# under the prefix.
include(GNUInstallDirs)
if(CMAKE_INSTALL_DOCDIR STREQUAL "${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME}")
  set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/skyfold)  # the package's name
endif()
set(SKYFOLD_XSCREENSAVER_HACK_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver CACHE STRING
    "xscreensaver's display modes (Debian, Fedora: libexec/xscreensaver; Arch: lib/xscreensaver)")
set(SKYFOLD_XSCREENSAVER_CONFIG_DIR ${CMAKE_INSTALL_DATADIR}/xscreensaver/config CACHE STRING
    "xscreensaver's settings panels")
set(SKYFOLD_USER_UNIT_DIR lib/systemd/user CACHE STRING "systemd's user units")
set(SKYFOLD_LICENSE_DIR ${CMAKE_INSTALL_DATADIR}/licenses/skyfold CACHE STRING "The licence")

# tools/release/linux/'s files that the install carries, each with its folder.
set(SKYFOLD_RELEASE_FILES
  skyfold.xml           ${SKYFOLD_XSCREENSAVER_CONFIG_DIR}
  skyfold.desktop       ${CMAKE_INSTALL_DATADIR}/applications/screensavers
  skyfold.6             ${CMAKE_INSTALL_MANDIR}/man6
  skyfold-idle.service  ${SKYFOLD_USER_UNIT_DIR}
  idle-watcher          ${CMAKE_INSTALL_DOCDIR}/examples
  swayidle-config       ${CMAKE_INSTALL_DOCDIR}/examples)
# Those files name the folders of the Debian package, the program's first, and @VERSION@: each
# Debian folder, and the folder of this install that takes its place.
set(SKYFOLD_DEBIAN_FOLDERS
  /usr/libexec/xscreensaver       ${SKYFOLD_XSCREENSAVER_HACK_DIR}
  /usr/share/xscreensaver/config  ${SKYFOLD_XSCREENSAVER_CONFIG_DIR}
  /usr/share/applications         ${CMAKE_INSTALL_DATADIR}/applications
  /usr/share/man                  ${CMAKE_INSTALL_MANDIR}
  /usr/share/doc/skyfold          ${CMAKE_INSTALL_DOCDIR}
  /usr/lib/systemd/user           ${SKYFOLD_USER_UNIT_DIR}
  /usr/bin/skyfold                ${CMAKE_INSTALL_BINDIR}/skyfold)

function(skyfold_full_path variable folder)
  cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX} NORMALIZE
             OUTPUT_VARIABLE full)
  set(${variable} ${full} PARENT_SCOPE)
endfunction()

install(TARGETS skyfold skyfold_settings DESTINATION ${SKYFOLD_XSCREENSAVER_HACK_DIR})
install(FILES LICENSE DESTINATION ${SKYFOLD_LICENSE_DIR})

set(staged ${CMAKE_CURRENT_BINARY_DIR}/install)
# The saver's name on the PATH: a link, relative, so that it holds in any root.
skyfold_full_path(bin_dir ${CMAKE_INSTALL_BINDIR})
skyfold_full_path(hack_dir ${SKYFOLD_XSCREENSAVER_HACK_DIR})
file(RELATIVE_PATH saver ${bin_dir} ${hack_dir}/skyfold)
file(MAKE_DIRECTORY ${staged}/bin)
file(CREATE_LINK ${saver} ${staged}/bin/skyfold SYMBOLIC)
install(FILES ${staged}/bin/skyfold DESTINATION ${CMAKE_INSTALL_BINDIR})

while(SKYFOLD_RELEASE_FILES)
  list(POP_FRONT SKYFOLD_RELEASE_FILES name destination)
  set(source ${CMAKE_SOURCE_DIR}/tools/release/linux/${name})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  string(REPLACE @VERSION@ ${PROJECT_VERSION} text "${text}")
  set(folders ${SKYFOLD_DEBIAN_FOLDERS})
  while(folders)
    list(POP_FRONT folders debian ours)
    skyfold_full_path(ours ${ours})
    string(REPLACE ${debian} ${ours} text "${text}")
  endwhile()
  file(WRITE ${staged}/${name} "${text}")
  install(FILES ${staged}/${name} DESTINATION ${destination})
endwhile()
