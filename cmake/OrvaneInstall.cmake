# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` lays out, under the prefix:
#   bin/                                     orvane, orvanectl
#   share/orvane/                            the skin folder, and every file of data/defaults
#   lib/udev/rules.d/60-orvane.rules         access for the user at the seat (uaccess)
#   share/applications/, share/metainfo/     desktop entry, AppStream metainfo
#   share/icons/hicolor/scalable/apps/       com.orvane.configurator.svg (the application id)
#   share/man/man1/                          orvane.1.gz, orvanectl.1.gz
#   share/bash-completion/completions/       orvanectl
#   share/doc/orvane/                        copyright (machine-readable), changelog.gz
# The programs look for their data beside themselves (the build folder) and in
# <prefix>/share/orvane.
include(GNUInstallDirs)

set(data ${PROJECT_SOURCE_DIR}/data)
foreach(program orvane orvanectl)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET orvane)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/skin/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/skin
          PATTERN README.md EXCLUDE)
  install(FILES ${data}/com.orvane.configurator.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${data}/com.orvane.configurator.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/skin/images/logo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME com.orvane.configurator.svg)
endif()

# Every file of data/defaults as it is at install time: the default profiles and whatever data
# files join them.
install(DIRECTORY ${data}/defaults/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane)
# udev reads lib/udev/rules.d under /usr, whatever the library folder of the architecture.
install(FILES ${data}/60-orvane.rules DESTINATION lib/udev/rules.d)
install(FILES ${data}/completion/orvanectl DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# The D-Bus service's interfaces, where D-Bus tools and code generators look for them.
install(FILES ${data}/dbus/io.orvane.Configurator1.Manager.xml ${data}/dbus/io.orvane.Configurator1.Device.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)

# Man pages, compressed as Debian has them.
set(man_out ${CMAKE_BINARY_DIR}/man)
set(man_pages "")
foreach(page orvane.1 orvanectl.1)
  add_custom_command(OUTPUT ${man_out}/${page}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${data}/man/${page} ${man_out}/${page}
                     COMMAND gzip -9 -n -f ${man_out}/${page}
                     DEPENDS ${data}/man/${page} VERBATIM)
  list(APPEND man_pages ${man_out}/${page}.gz)
endforeach()
add_custom_target(orvane_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licences of everything installed, and the changelog, where Debian keeps them.
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND ${CMAKE_COMMAND} -E copy ${data}/deb/changelog ${CMAKE_BINARY_DIR}/doc/changelog
                   COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/doc/changelog
                   DEPENDS ${data}/deb/changelog VERBATIM)
add_custom_target(orvane_changelog ALL DEPENDS ${changelog})
install(FILES ${data}/deb/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane)
