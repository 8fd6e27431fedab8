# What `make package` installs and how the Debian package describes itself.
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS tarifon tarifon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop integration: menu entry, icons, software-centre description.
install(FILES packaging/tarifon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/ru.kviralt.tarifon.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES assets/icons/tarifon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES assets/icons/tarifon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tarifon.png)
endforeach()

# Manual pages go compressed, as the distribution's tools expect.
set(TARIFON_MAN_PAGES tarifon.1 tarifon-cli.1)
foreach(page ${TARIFON_MAN_PAGES})
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${page} VERBATIM)
    list(APPEND TARIFON_MAN_OUTPUTS ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(man-pages ALL DEPENDS ${TARIFON_MAN_OUTPUTS})
install(FILES ${TARIFON_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/tarifon-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tarifon-cli)

# The user manual: the pages from doc/manual and the pictures `make screenshots` takes of the
# program itself. The build tree gets the same folder (build/manual, pictures linked), so that
# F1 works from a build too.
file(GLOB TARIFON_MANUAL_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/doc/manual/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/manual/index.html
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/doc/manual ${CMAKE_BINARY_DIR}/manual
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/screenshots
    COMMAND ${CMAKE_COMMAND} -E create_symlink ../screenshots ${CMAKE_BINARY_DIR}/manual/img
    DEPENDS ${TARIFON_MANUAL_FILES} VERBATIM)
add_custom_target(manual ALL DEPENDS ${CMAKE_BINARY_DIR}/manual/index.html)
install(DIRECTORY doc/manual/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tarifon/manual)
install(DIRECTORY ${CMAKE_BINARY_DIR}/screenshots/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tarifon/manual/img
        FILES_MATCHING PATTERN "*.png")

install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tarifon)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarifon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tarifon <support@kviralt.ru>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OSAGO premium calculator with a printable calculation sheet")
# The summary above is the first line; this is the rest.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarifon computes the premium of Russian compulsory motor third-party\n"
    "liability insurance (OSAGO) under the tariffs in force from 1 January 2006.\n"
    "A wizard asks for the owner, vehicle type, territory, bonus-malus class,\n"
    "drivers, power, season, term and violations and shows every coefficient and\n"
    "the formula. The result prints as a one-page calculation sheet, with preview,\n"
    "printing and exports to PDF, pictures, text, HTML, RTF, spreadsheets and\n"
    "e-mail. The command-line tool tarifon-cli gives the same quotes and files to\n"
    "scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.kviralt.ru/")
# Libraries from what the binaries link; the rest is what they open at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-liberation2, libcups2, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, cups-client, xdg-utils, libreoffice-calc, libreoffice-script-provider-python, x-www-browser")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
