# The Debian package (the X11 hack and the Wayland client), made by CPack's DEB generator
# (`cpack` in the native build): what `cmake --install` puts under /usr, stripped, with its
# copyright and changelog made here, and the maintainer scripts and trigger beside this file,
# which add the hack to XScreenSaver's list of programs. This folder is CPack's input, not a
# debian/ folder for dpkg-buildpackage.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME flyingquorlin)
set(CPACK_PACKAGE_CONTACT "Quorlin Works <packages@quorlin-works.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "screen saver of winged quorlins flapping across the screen")
# Lines as Debian wants them: CPack neither wraps them nor takes double quotes.
set(CPACK_PACKAGE_DESCRIPTION "A flock of winged quorlins flaps across a black screen, drifting right and
down and coming back in at the left and top edges.

This package holds the XScreenSaver hack flyingquorlin and its settings
description, so that XScreenSaver's settings program offers it with its
pause and number of quorlins; and flyingquorlin-wayland, the same saver for
Wayland sessions (GNOME, KDE Plasma, sway and others), with two systemd user
units, both disabled: one that starts it itself after ten idle minutes, one
that runs it from swayidle.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS swayidle)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postinst
    ${CMAKE_CURRENT_LIST_DIR}/postrm ${CMAKE_CURRENT_LIST_DIR}/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
include(GNUInstallDirs)

# The copyright file in Debian's machine-readable form, from LICENSE: its holder, then its text
# from the grant on, each line indented and each empty one a ".".
set(deb_docs ${PROJECT_BINARY_DIR}/deb-docs)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${license}")
set(holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*\n(Permission )" "\\1" grant "${license}")
string(REGEX REPLACE "\n$" "" grant "${grant}")
string(REGEX REPLACE "\n\n" "\n.\n" grant "${grant}")
string(REPLACE "\n" "\n " grant "${grant}")
file(WRITE ${deb_docs}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${CPACK_PACKAGE_NAME}

Files: *
Copyright: ${holder}
License: Expat
 ${grant}
")

# A native package's changelog: this release, dated by the release's time, which every file
# of the release carries (scripts/source-date-epoch.sh: SOURCE_DATE_EPOCH, else the last
# commit's).
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/source-date-epoch.sh
                OUTPUT_VARIABLE release_time OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_VARIABLE why RESULT_VARIABLE failed)
if(failed)
  message(WARNING "The Debian package's changelog is dated now: ${why}")
  string(TIMESTAMP release_time "%s" UTC)
endif()
execute_process(COMMAND date -u -R -d @${release_time} OUTPUT_VARIABLE release_date
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${deb_docs}/changelog
  "${CPACK_PACKAGE_NAME} (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${release_date}
")
execute_process(COMMAND gzip -9n -c INPUT_FILE ${deb_docs}/changelog
                OUTPUT_FILE ${deb_docs}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${deb_docs}/copyright ${deb_docs}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
