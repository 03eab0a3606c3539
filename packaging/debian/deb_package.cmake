# The hack's Debian package, made by CPack's DEB generator: what `cmake --install` puts under
# /usr, stripped, with the maintainer scripts and trigger beside this file, which add the hack to
# XScreenSaver's list of programs. scripts/make-deb.sh runs cpack with the package's copyright
# and changelog, then lintian.
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
Wayland sessions whose compositor has the layer shell, with a systemd user
unit (disabled) that runs it from swayidle.")
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
