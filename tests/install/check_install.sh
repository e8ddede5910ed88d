#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what lands there: the programs, their
# data, the udev rules, the desktop entry, icon and metainfo (validated where the tools are
# present), man pages and completion; then runs the installed programs on emulated devices
# with the source and build trees out of reach (an empty folder mounted over each in a private
# mount namespace): they find their skin, texts and default profiles in the prefix alone, and
# no source or build path is compiled into them.
#   tests/install/check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$(realpath "$1")" source="$(realpath "$2")"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/orvane bin/orvanectl share/orvane/skin/res.xml share/orvane/skin/main.ui \
         share/orvane/kbkeydefault.pro share/orvane/msdengdefault.led lib/udev/rules.d/60-orvane.rules \
         share/applications/com.orvane.configurator.desktop share/metainfo/com.orvane.configurator.metainfo.xml \
         share/icons/hicolor/scalable/apps/com.orvane.configurator.svg share/man/man1/orvane.1.gz share/man/man1/orvanectl.1.gz \
         share/bash-completion/completions/orvanectl share/dbus-1/interfaces/io.orvane.Configurator1.Manager.xml \
         share/dbus-1/interfaces/io.orvane.Configurator1.Device.xml; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for f in "$(dirname "$0")"/../../data/defaults/*; do
  [ -f "$prefix/share/orvane/$(basename "$f")" ] || fail "data file $(basename "$f") is not installed"
done
[ "$(grep -c 'TAG+="uaccess"' "$prefix/lib/udev/rules.d/60-orvane.rules")" -eq 2 ] || fail "udev rules without uaccess"
# The ecosystem's validators, each where it is installed; a finding of any level fails.
desktop="$prefix/share/applications/com.orvane.configurator.desktop"
metainfo="$prefix/share/metainfo/com.orvane.configurator.metainfo.xml"
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop entry: $out"
  [ -z "$out" ] || fail "desktop entry: $out"
fi
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "AppStream metainfo: $out"
  ! grep -q "^[EWIP]:" <<<"$out" || fail "AppStream metainfo: $out"
fi
if command -v appstream-util >/dev/null; then
  out=$(appstream-util validate --nonet "$metainfo" 2>&1) || fail "AppStream metainfo (appstream-util): $out"
fi
if command -v mandoc >/dev/null; then
  out=$(zcat "$prefix/share/man/man1/orvane.1.gz" "$prefix/share/man/man1/orvanectl.1.gz" | mandoc -T lint -W warning 2>&1) ||
    fail "man pages: $out"
fi
# The programs' window and menu entry share the name and the application id.
grep -qx "Name=Orvane Gaming Software" "$desktop" || fail "the desktop entry's name is not the window's title"
grep -qx "Icon=com.orvane.configurator" "$desktop" || fail "the desktop entry's icon is not named after the application id"
for page in orvane orvanectl; do
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1" || fail "man page $page"
done

# A sanitizer build (third argument "sanitized") keeps its sources' paths for its reports
# (UBSan's source locations, which no prefix map reaches in a unity build); it is never
# packaged.
if [ "${3:-packaged}" != sanitized ]; then
  for program in orvane orvanectl; do
    strip --strip-debug -o "$prefix/stripped" "$prefix/bin/$program"
    for tree in "$source" "$build"; do
      ! grep -q -F "$tree" "$prefix/stripped" || fail "$program has the path $tree compiled in"
    done
  done
  rm "$prefix/stripped"
fi

# The programs' runs, in a private mount namespace where both trees are empty folders.
cat >"$prefix/runs.sh" <<'EOF'
set -euo pipefail
prefix=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
export HOME="$prefix/home" XDG_CONFIG_HOME="$prefix/home/.config" XDG_RUNTIME_DIR="$prefix/home" QT_QPA_PLATFORM=offscreen
export ORVANE_DATA_DIR="$prefix/home/data"
mkdir -p "$HOME"
ctl="$prefix/bin/orvanectl"
"$ctl" --simulate info ms | grep -q "^device	Orvane mouse" || fail "installed orvanectl"
keys=$("$ctl" --simulate keys kb 2>"$prefix/errors")
[ ! -s "$prefix/errors" ] || fail "orvanectl keys kb wrote errors: $(cat "$prefix/errors")"
grep -q -w "Esc" <<<"$keys" || fail "orvanectl keys kb names no key Esc (its texts not found)"
! grep -q "keyboard_key_" <<<"$keys" || fail "orvanectl keys kb prints text ids instead of names"
assigned=$("$ctl" --simulate assign kb 64 key:Num_Enter 2>&1) || fail "orvanectl assign: $assigned"
! grep -q "QFSFileEngine\|keyboard_key_" <<<"$assigned" || fail "orvanectl assign: $assigned"
"$ctl" --simulate profiles kb | grep -q . || fail "installed orvanectl finds no default profiles"
"$prefix/bin/orvane" --simulate --screenshot "$prefix/shot.png" >"$prefix/orvane.log" 2>&1 ||
  fail "installed orvane: $(cat "$prefix/orvane.log")"
[ -s "$prefix/shot.png" ] || fail "no screenshot from the installed orvane"
! grep -q "skin file\|skin index" "$prefix/orvane.log" || fail "installed orvane misses skin files: $(cat "$prefix/orvane.log")"
"$ctl" --version | grep -q "^orvanectl [0-9]" || fail "orvanectl --version"
"$prefix/bin/orvane" --version | grep -q "^orvane [0-9]" || fail "orvane --version"
EOF
if [ "$(id -u)" -eq 0 ]; then isolate=(unshare -m); else isolate=(unshare -rm); fi
if "${isolate[@]}" true 2>/dev/null; then
  # shellcheck disable=SC2016  # expanded by the inner shell
  # The build folder first: it may lie inside the source tree.
  "${isolate[@]}" bash -c 'set -e
                           for tree in "$3" "$2"; do mount -t tmpfs -o ro none "$tree"; done
                           for tree in "$2" "$3"; do [ -z "$(ls -A "$tree" 2>/dev/null)" ] || exit 3; done
                           exec bash "$1/runs.sh" "$1"' _ "$prefix" "$source" "$build" ||
    fail "the installed programs, with the source and build trees out of reach"
else
  echo "WARNING: no private mount namespace (unshare): the installed programs ran with the trees in reach"
  bash "$prefix/runs.sh" "$prefix"
fi
echo "installed layout and programs: ok"
