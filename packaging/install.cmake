# Install rules and the Debian package. `cmake --install build` lays out a desktop program the
# way a Linux desktop expects it: the two executables in bin/, a menu entry, the icon in the
# hicolor theme, AppStream metadata, manual pages made from --help, the licence. Nothing under
# share/ is checked in as a generated file: the PNG icons and the manual pages are made at
# build time from packaging/ and the executables.
include(GNUInstallDirs)

set(MORVELA_APP_ID org.morvela.Morvela)
set(MORVELA_PACKAGING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(MORVELA_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)
set(MORVELA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/morvela)

install(TARGETS morvela-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE DESTINATION ${MORVELA_DOC_DIR}
  RENAME copyright)

# Both are gzipped without a time stamp so that two builds of one source make the same package.
find_program(MORVELA_GZIP gzip)
find_program(MORVELA_HELP2MAN help2man)
find_program(MORVELA_RSVG_CONVERT rsvg-convert)

add_custom_command(OUTPUT ${MORVELA_GENERATED_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVELA_GENERATED_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${MORVELA_PACKAGING_DIR}/changelog ${MORVELA_GENERATED_DIR}
  COMMAND ${MORVELA_GZIP} -n -9 -f ${MORVELA_GENERATED_DIR}/changelog
  DEPENDS ${MORVELA_PACKAGING_DIR}/changelog VERBATIM)
set(MORVELA_GENERATED_FILES ${MORVELA_GENERATED_DIR}/changelog.gz)
install(FILES ${MORVELA_GENERATED_DIR}/changelog.gz DESTINATION ${MORVELA_DOC_DIR})

# A manual page for one executable, from its --help and packaging/folders.h2m (where the data
# lives). The desktop program parses its options after the toolkit has started, so it runs on
# the offscreen platform for this; the toolkit's notices on stderr stay out of the page.
function(morvela_man_page target summary)
  set(page ${MORVELA_GENERATED_DIR}/${target}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVELA_GENERATED_DIR}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${MORVELA_HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
            --name=${summary} --include=${MORVELA_PACKAGING_DIR}/folders.h2m --output=${page}
            $<TARGET_FILE:${target}>
    COMMAND ${MORVELA_GZIP} -n -9 -f ${page}
    DEPENDS ${target} ${MORVELA_PACKAGING_DIR}/folders.h2m VERBATIM)
  set(MORVELA_GENERATED_FILES ${MORVELA_GENERATED_FILES} ${page}.gz PARENT_SCOPE)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(MORVELA_HELP2MAN)
  morvela_man_page(morvela-cli "propose football tips from a local database (command line)")
else()
  message(STATUS "help2man not found: the manual pages are not built (Debian: help2man)")
endif()

if(MORVELA_GUI)
  install(TARGETS morvela RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${MORVELA_PACKAGING_DIR}/${MORVELA_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${MORVELA_PACKAGING_DIR}/${MORVELA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${MORVELA_PACKAGING_DIR}/${MORVELA_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  if(MORVELA_HELP2MAN)
    morvela_man_page(morvela "propose football tips from a local database")
  endif()
  # Menus and panels ask for these sizes; a theme scales the SVG for the rest.
  if(MORVELA_RSVG_CONVERT)
    foreach(size 16 24 32 48 64 128 256)
      set(png ${MORVELA_GENERATED_DIR}/icons/${size}/${MORVELA_APP_ID}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVELA_GENERATED_DIR}/icons/${size}
        COMMAND ${MORVELA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                ${MORVELA_PACKAGING_DIR}/${MORVELA_APP_ID}.svg
        DEPENDS ${MORVELA_PACKAGING_DIR}/${MORVELA_APP_ID}.svg VERBATIM)
      list(APPEND MORVELA_GENERATED_FILES ${png})
      install(FILES ${png}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    message(STATUS "rsvg-convert not found: only the SVG icon is installed (Debian: librsvg2-bin)")
  endif()
endif()

add_custom_target(morvela_install_files ALL DEPENDS ${MORVELA_GENERATED_FILES})

# The Debian package (scripts/package.sh): cpack in build/ writes morvela_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvela)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Morvela developers")
set(CPACK_PACKAGE_CONTACT "The Morvela developers <developers@morvela.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Morvela developers <developers@morvela.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://morvela.org/)
# The runtime libraries (Qt, SQLite, curl, libcrypto, zlib, X11) as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "football tips from rating differences and past results")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Morvela keeps a local database of results, fixtures and bookmaker odds of\n\
twenty European leagues. Every match carries a rating difference; for a\n\
coming match Morvela looks up how past matches with a similar difference\n\
ended and turns those percentages into a tip.\n\
.\n\
The package holds the desktop program (morvela) and its command-line twin\n\
(morvela-cli). Each user's database and settings live in\n\
~/.local/share/morvela.")
include(CPack)
