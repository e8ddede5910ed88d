#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what lands there: the programs, their
# data, the udev rules, the desktop entry, icon and metainfo (validated where the tools are
# present), man pages and completion; then runs the installed programs on emulated devices,
# which find their skin and default profiles in the prefix.
#   tests/install/check_install.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/orvane bin/orvanectl share/orvane/skin/res.xml share/orvane/skin/main.ui \
         share/orvane/kbkeydefault.pro share/orvane/msdengdefault.led lib/udev/rules.d/60-orvane.rules \
         share/applications/com.orvane.Configurator.desktop share/metainfo/com.orvane.Configurator.metainfo.xml \
         share/icons/hicolor/scalable/apps/orvane.svg share/man/man1/orvane.1.gz share/man/man1/orvanectl.1.gz \
         share/bash-completion/completions/orvanectl; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for f in "$(dirname "$0")"/../../data/defaults/*; do
  [ -f "$prefix/share/orvane/$(basename "$f")" ] || fail "data file $(basename "$f") is not installed"
done
[ "$(grep -c 'TAG+="uaccess"' "$prefix/lib/udev/rules.d/60-orvane.rules")" -eq 2 ] || fail "udev rules without uaccess"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/com.orvane.Configurator.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/com.orvane.Configurator.metainfo.xml" >/dev/null ||
    fail "AppStream metainfo"
fi
for page in orvane orvanectl; do
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1" || fail "man page $page"
done

export HOME="$prefix/home" XDG_CONFIG_HOME="$prefix/home/.config" XDG_RUNTIME_DIR="$prefix/home" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
"$prefix/bin/orvanectl" --simulate info ms | grep -q "^device	Orvane mouse" || fail "installed orvanectl"
"$prefix/bin/orvane" --simulate --screenshot "$prefix/shot.png" >/dev/null 2>&1 || fail "installed orvane"
[ -s "$prefix/shot.png" ] || fail "no screenshot from the installed orvane"
echo "installed layout and programs: ok"
