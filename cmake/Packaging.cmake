# SPDX-License-Identifier: GPL-3.0-or-later
# Installation as a desktop program and the Debian package.
#
#   cmake --install build [--prefix ~/.local]    program, desktop entry, icons, metainfo,
#                                                D-Bus interface, manual page, copyright file,
#                                                Debian changelog
#   cpack --config build/CPackConfig.cmake       quandrel_<version>-1_<arch>.deb
#
# The desktop entry, the hicolor icons and the AppStream metainfo all carry the
# application id below; the program names the same id as its desktop file, so
# that Wayland compositors match its windows to the entry and its icon.

include(GNUInstallDirs)

set(QUANDREL_PACKAGE_CONTACT "Quandrel maintainers <maintainers@quandrel.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(QUANDREL_HOMEPAGE "" CACHE STRING "Homepage of the Debian package (left out when empty)")

set(_quandrel_packaging ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(_quandrel_images ${CMAKE_CURRENT_LIST_DIR}/../resources/images)

# Directories the install creates get 0755 whatever the umask of the builder.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)

install(FILES ${_quandrel_packaging}/${QUANDREL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The newest release in the metainfo is the version project() names.
configure_file(${_quandrel_packaging}/${QUANDREL_APP_ID}.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/${QUANDREL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/${QUANDREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The interface the running program offers on the session bus, for those who call it.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../src/app/${QUANDREL_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)

# The icon theme: the drawing for any size and the rendered pictures for the
# usual fixed sizes, all under the application id.
install(FILES ${_quandrel_images}/mainicon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUANDREL_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
  install(FILES ${_quandrel_images}/mainicon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${QUANDREL_APP_ID}.png)
endforeach()

# The manual page, the copyright file and the Debian changelog. Manual pages
# and changelogs are installed compressed, with gzip -n so that the archives
# carry no file name or time stamp and the package builds the same every time.
find_program(QUANDREL_GZIP gzip REQUIRED)
set(_quandrel_docs ${CMAKE_BINARY_DIR}/packaging)
set(QUANDREL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quandrel)
# The manual page names the version of CMakeLists.txt.
configure_file(${_quandrel_packaging}/quandrel.1.in ${_quandrel_docs}/quandrel.1 @ONLY)
add_custom_command(
  OUTPUT ${_quandrel_docs}/quandrel.1.gz ${_quandrel_docs}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_quandrel_docs}
  COMMAND ${QUANDREL_GZIP} -9n -c ${_quandrel_docs}/quandrel.1 > ${_quandrel_docs}/quandrel.1.gz
  COMMAND ${QUANDREL_GZIP} -9n -c ${_quandrel_packaging}/changelog.Debian > ${_quandrel_docs}/changelog.Debian.gz
  DEPENDS ${_quandrel_docs}/quandrel.1 ${_quandrel_packaging}/changelog.Debian
  COMMENT "Compressing the manual page and the Debian changelog"
  VERBATIM)
add_custom_target(quandrel_docs ALL DEPENDS ${_quandrel_docs}/quandrel.1.gz ${_quandrel_docs}/changelog.Debian.gz)

install(FILES ${_quandrel_docs}/quandrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_quandrel_packaging}/copyright ${_quandrel_docs}/changelog.Debian.gz DESTINATION ${QUANDREL_DOC_DIR})
install(FILES ${_quandrel_packaging}/quandrel.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME quandrel)

# The program binds all its symbols at start, so that its relocations can be
# made read-only (full RELRO, as Debian builds programs).
target_link_options(quandrel PRIVATE "LINKER:-z,relro,-z,now")

# A stripped install (cpack, cmake --install --strip) also drops the compiler's
# .comment section from the program, as Debian's dh_strip does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:quandrel>\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# ---- Debian package ------------------------------------------------------

set(CPACK_GENERATOR "DEB" CACHE STRING "Package generators run by cpack")
set(CPACK_PACKAGE_NAME "quandrel")
set(CPACK_PACKAGE_VENDOR "The Quandrel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUANDREL_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop multi-timer: count-downs, alarm clocks and stopwatches")
set(CPACK_PACKAGE_DESCRIPTION
    "Quandrel runs up to six timers at once, each in a small window of its own:
count-downs and count-ups of up to 23:59:59 (optionally restarting themselves),
alarm clocks that go off at a time of day, and stopwatches. A timer that goes
off shows EXPIRED!, flashes its title and plays one of 24 built-in alert
sounds or a wave file of your own.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
if(QUANDREL_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUANDREL_HOMEPAGE})
endif()
# The libraries the program links come from dpkg-shlibdeps (package dpkg-dev);
# Qt's X11 platform plugin is loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL is loaded when the first sound plays, so dpkg-shlibdeps does not see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libsdl2-2.0-0")
# Wayland sessions need Qt's Wayland platform plugin; without it Qt falls back to XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")

include(CPack)
