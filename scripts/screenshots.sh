#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Captures every page of the program in every language and at the scales 1, 1.5 and 2 on
# emulated devices, into one folder: PAGE-LANGUAGE-xSCALE.png.
#   scripts/screenshots.sh [OUT_DIR] [BUILD_DIR]
# Defaults: build/screenshots and build/. Set SCALES, LANGUAGES or PAGES (space-separated)
# to take fewer; SIZE=WxH takes them in a window of that size (default: the first size);
# MAXIMISED=WxH takes them maximised on a screen of that size (PAGE-LANGUAGE-xSCALE-max.png);
# PLATFORM=xvfb renders under a virtual X server instead of offscreen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/screenshots}"
build="${2:-$root/build}"
exe="$build/src/app/orvane"
[ -x "$exe" ] || { echo "screenshots: build the program first ($exe)" >&2; exit 1; }
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# The runs keep their data and settings out of the user's folders.
export ORVANE_DATA_DIR="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$scratch/run" && chmod 700 "$scratch/run"
platform=offscreen
if [ -n "${MAXIMISED:-}" ]; then
  printf '{"screens": [{"name": "screen", "x": 0, "y": 0, "width": %s, "height": %s, "logicalDpi": 96, "dpr": 1}]}\n' \
    "${MAXIMISED%x*}" "${MAXIMISED#*x}" >"$scratch/screen.json"
  platform="offscreen:configfile=$scratch/screen.json"
fi
run() {
  if [ "${PLATFORM:-offscreen}" = xvfb ]; then xvfb-run -a -s "-screen 0 2880x1800x24" "$exe" "$@"
  else QT_QPA_PLATFORM="$platform" "$exe" "$@"; fi
}
pages="${PAGES:-$("$exe" --list-pages)}"
failed=0
for scale in ${SCALES:-1 1.5 2}; do
  for language in ${LANGUAGES:-en cn tw jp}; do
    for page in $pages; do
      shot="$out/$page-$language-x$scale${MAXIMISED:+-max}.png"
      if ! QT_SCALE_FACTOR="$scale" run --simulate --screenshot "$shot" --page "$page" --language "$language" \
           ${SIZE:+--size "$SIZE"} ${MAXIMISED:+--maximised} \
           2>"$scratch/err"; then
        echo "$page ($language, x$scale): $(grep -m1 'orvane:' "$scratch/err" || echo failed)"
        failed=$((failed + 1))
      fi
    done
  done
done
echo "$(find "$out" -maxdepth 1 -name "*.png" | wc -l) pictures in $out; $failed not taken"
