# What an installation carries besides the executables: the word-list tool, manual pages, PNG
# icons, AppStream metainfo, copyright and changelog; and the Debian package that
# `cpack -G DEB` (scripts/package.sh) makes of the whole installation.

# Installed beside the program so that a user can build a database from a list of their own.
set_target_properties(build_word_database PROPERTIES OUTPUT_NAME tessavine-build-words)
install(TARGETS build_word_database RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/tessavine)

# Every page in man/ is installed, compressed without name or time stamp so that the package
# comes out the same from the same sources. The pages name this installation's folders and the
# settings file's real name through @TESSAVINE_MAN_...@ fields, filled in at install time; a page
# that names an installed folder itself, or another settings file, stops the configuring.
file(GLOB TESSAVINE_MAN_PAGES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/man/*.1)
foreach(page IN LISTS TESSAVINE_MAN_PAGES)
    file(READ ${page} text)
    if(text MATCHES "/usr/(local/)?(lib|share)/tessavine|\\.config/[A-Za-z]+\\.conf")
        message(FATAL_ERROR "${page} names ${CMAKE_MATCH_0}; use the @TESSAVINE_MAN_...@ fields")
    endif()
endforeach()
# The settings are kept under the application name the store is given; QSettings on Linux makes
# NAME.conf of it.
file(GLOB_RECURSE TESSAVINE_SETTINGS_KEYS ${CMAKE_CURRENT_SOURCE_DIR}/src/*/SettingsKeys.h)
file(STRINGS "${TESSAVINE_SETTINGS_KEYS}" TESSAVINE_SETTINGS_APPLICATION
    REGEX "application = QStringLiteral\\(\"[^\"]+\"\\)")
if(NOT TESSAVINE_SETTINGS_APPLICATION MATCHES "\"([^\"]+)\"")
    message(FATAL_ERROR "The settings' application name was not found in SettingsKeys.h")
endif()
install(CODE "
    set(TESSAVINE_MAN_SOURCES \"${TESSAVINE_MAN_PAGES}\")
    set(TESSAVINE_MAN_WORK \"${CMAKE_BINARY_DIR}/man\")
    set(TESSAVINE_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(TESSAVINE_DOCDIR \"${TESSAVINE_DOCDIR}\")
    set(TESSAVINE_MANDIR \"${CMAKE_INSTALL_MANDIR}\")
    set(TESSAVINE_MAN_SETTINGS \"${CMAKE_MATCH_1}.conf\")
")
install(SCRIPT cmake/InstallManPages.cmake)

install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES data/example.tessavine.Tessavine.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The copyright file in Debian's machine-readable format, made from LICENSE and the word list's
# notice so that each text is kept in one place. Its license texts are indented by one blank,
# with a lone dot for an empty line.
function(tessavine_indented_text file variable)
    file(READ ${file} text)
    string(REGEX REPLACE "\n+$" "" text "${text}")
    string(REPLACE "\n" "\n " text " ${text}")
    # Twice, since a run of empty lines shares its line ends between neighbours.
    string(REPLACE "\n \n" "\n .\n" text "${text}")
    string(REPLACE "\n \n" "\n .\n" text "${text}")
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()
tessavine_indented_text(${CMAKE_CURRENT_SOURCE_DIR}/LICENSE TESSAVINE_LICENSE_TEXT)
tessavine_indented_text(${CMAKE_CURRENT_SOURCE_DIR}/data/wordlist-copyright
    TESSAVINE_WORDLIST_NOTICE)
configure_file(cmake/copyright.in ${CMAKE_BINARY_DIR}/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${TESSAVINE_DOCDIR})

configure_file(cmake/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/doc/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog
    VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${TESSAVINE_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessavine)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tessavine developers <${TESSAVINE_SUPPORT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generator of lists of random English words")
# Lines of at most 80 characters, as the package's description is read in a terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tessavine draws a chosen number of words at random from a database of about"
    "64,000 English words, narrowed if wished by length, first and last character,"
    "a rule on one letter and proper case. The list can be saved as text in five"
    "layouts, copied to the clipboard, or handed to a spreadsheet application.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# The library scan finds what the executables link; it cannot see what Qt loads at run time:
# the SVG plugins that draw the icon, Liberation Sans for the window's Arial (the layout is
# measured for its widths) and DejaVu Sans, which "sans-serif" resolves to in dialogs (with
# Liberation alone it becomes Liberation Mono). The xcb platform plugin comes with libqt6gui6,
# which the scan does find.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation, fonts-dejavu-core")
# The spreadsheet export opens LibreOffice Calc, or else the desktop's default via xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
# Suggested, not recommended: apt installs recommendations by default, and LibreOffice would
# bring some 600 packages and 1.4 GB for one optional command.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")
include(CPack)
