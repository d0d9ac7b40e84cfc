# Install rules and the Debian package (scripts/package.sh): dtu-config and dtu-sim in /usr/bin, the desktop
# entry with its icon, the AppStream metainfo, the manual pages and the copyright file. The files themselves
# live in packaging/; the PNG icons there were drawn from com.example.dtu_config.svg with
# `rsvg-convert -w N -h N`.
include(GNUInstallDirs)

set(DTU_APP_ID com.example.dtu_config)
set(DTU_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(DTU_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS dtu-config dtu-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${DTU_PACKAGING_DIR}/${DTU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DTU_PACKAGING_DIR}/${DTU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES ${DTU_PACKAGING_DIR}/icons/${size}x${size}/${DTU_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${DTU_PACKAGING_DIR}/${DTU_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${DTU_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dtu-config)

# Debian wants manual pages and the changelog compressed, without a time stamp so that builds repeat.
set(compressed)
foreach(file dtu-config.1 dtu-sim.1 changelog)
  add_custom_command(OUTPUT ${DTU_PACKAGING_OUT}/${file}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${DTU_PACKAGING_OUT}
                     COMMAND gzip -9nc ${DTU_PACKAGING_DIR}/${file} > ${DTU_PACKAGING_OUT}/${file}.gz
                     DEPENDS ${DTU_PACKAGING_DIR}/${file} VERBATIM)
  list(APPEND compressed ${DTU_PACKAGING_OUT}/${file}.gz)
endforeach()
add_custom_target(dtu_packaging_files ALL DEPENDS ${compressed})
install(FILES ${DTU_PACKAGING_OUT}/dtu-config.1.gz ${DTU_PACKAGING_OUT}/dtu-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${DTU_PACKAGING_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dtu-config)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dtu-config)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Torvane IoT Co., Ltd.")
# No comma in the name: Debian reads one as the start of a second address.
set(CPACK_PACKAGE_CONTACT "Torvane IoT <support@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for cellular data transfer units (DTU)")
# The long description; CPack puts the summary before it as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "dtu-config reads, writes and restores the settings of a DTU, a GPRS modem
that carries a serial device's data to a TCP or UDP server, over a serial
port with AT-style commands. It has a window in Chinese or English and a
command line that works on several ports at once.
.
dtu-sim, a simulated DTU on a pseudo-terminal, lets the tool be tried
without a module.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com)
# The libraries come from what the programs link; only what nothing links is named by hand: without a CJK
# font the Chinese texts show as boxes, and without Qt's translations its own buttons and menus stay English.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, qt6-translations-l10n")
include(CPack)
