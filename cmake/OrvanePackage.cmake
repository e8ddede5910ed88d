# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack -G DEB in the build folder. Dependencies are the libraries the
# programs link (dpkg-shlibdeps) plus what they need at run time beside them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Orvane Configurator developers <configurator@orvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator for Orvane gaming keyboards, mice and mousepads")
# Description lines stay within 80 columns (dpkg indents each by one space).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Sets up the Orvane USB peripherals: key and button assignment, macros,\n"
       "DPI stages, lighting effects, per-key painting and named profiles per device.\n"
       "The udev rules give the user at the seat access to the devices' configuration\n"
       "interfaces. orvanectl does the same from the command line.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvane.invalid/configurator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Linked libraries come in through dpkg-shlibdeps (among them libxkbcommon0 and
# libxkbcommon-x11-0, which name captured keys under the X server's layout, and
# libwayland-client0, through which wlroots compositors name the application in front).
# The skin's images are SVG, read by Qt's SVG plugins (libqt6svg6), which nothing links; the
# platform plugins come with libqt6gui6. The Japanese and Chinese interfaces need CJK fonts
# (Noto CJK covers both).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, hicolor-icon-theme, fonts-ipafont-gothic | fonts-noto-cjk, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev")
# Apply the udev rules to the devices already plugged in, and drop them on removal.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/data/deb/postinst ${PROJECT_SOURCE_DIR}/data/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
