# `cpack` in the build folder makes package/vostrel_<version>_<arch>.deb.
set(VOSTREL_PACKAGE_MAINTAINER "The Vostrel developers <packaging@vostrel.app>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VENDOR "The Vostrel developers")
set(CPACK_PACKAGE_CONTACT "${VOSTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "privacy lock screen that keeps the computer working")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vostrel covers every monitor with a lock screen while the computer keeps
working underneath: builds, coding agents and downloads run on, and nobody
walking past sees or types into them. The lock comes down only for the
right PIN, an enrolled fingerprint, or an automation call that carries the
PIN. Every lock also keeps the computer awake.

Scripts and keyboard shortcuts reach it through the vostrel command and its
D-Bus interface. X11 sessions; on Wayland the global shortcut and the input
grab are not available.")

# The libraries the two executables link come from dpkg-shlibdeps (the Qt
# Multimedia backends that play the sounds ship in libqt6multimedia6, which it
# finds). What it cannot see: the QML modules the interface imports, which the
# Debian packages of Qt do not pull in for one another; the SVG plugins that
# draw the icon theme's symbols; the icon themes themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtqml, qml6-module-qtqml-workerscript, qml6-module-qtquick, \
qml6-module-qtquick-window, qml6-module-qtquick-controls, qml6-module-qtquick-templates, \
qml6-module-qtquick-layouts, qml6-module-qtquick-shapes, qml6-module-qt5compat-graphicaleffects, \
libqt6svg6, adwaita-icon-theme, hicolor-icon-theme")
# fprintd offers the fingerprint unlock; the D-Bus services of keep-awake are
# part of every desktop, so their absence is only reported.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fprintd")

include(CPack)
