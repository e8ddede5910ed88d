#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs to build, test and run. Idempotent: when
# everything is there it changes nothing and asks no network.
set -euo pipefail

PACKAGES=(
  cmake g++ ninja-build ccache mold pkg-config   # mold: the linker (cmake/OrvaneBuild.cmake)
  qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-svg-dev
  libhidapi-dev libudev-dev libjsoncpp-dev libcurl4-openssl-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  umockdev libumockdev-dev
  dpkg-dev appstream desktop-file-utils
  lintian appstream-util shellcheck mandoc udev   # the validators the install and unit tests run
  xvfb xauth x11-utils libxcb1-dev libx11-dev libxi-dev libxtst-dev   # libxtst-dev: the X11 input tests
  libxkbcommon-dev libxkbcommon-x11-dev x11-xkb-utils   # key names under the X server's layout; setxkbmap for its test
  openbox   # a window manager for the window-move tests under Xvfb
  libwayland-dev   # wayland-client and wayland-scanner: the application in front on wlroots compositors
  sway foot   # a headless wlroots compositor and a small client with a chosen app_id, for the Wayland foreground tests
  nodejs   # the OpenRGB SDK client test runs npm's openrgb-sdk against the program
  dbus libglib2.0-bin   # a private session bus (dbus-run-session) and gdbus for the D-Bus service's tests
  fonts-dejavu-core fonts-wqy-microhei fonts-ipafont-gothic
  clang-14 libclang-rt-14-dev
)
# Debian's npm; a nodejs that bundles its own npm (and conflicts with that package) is kept.
command -v npm >/dev/null || PACKAGES+=(npm)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
