#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and runs it on emulated devices (an RGB keyboard, a mouse and a
# mousepad). With no display it runs under a virtual X display and saves a screenshot.
#   scripts/run.sh [extra orvane arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build"
"$root/scripts/build.sh" "$dir"
exe="$dir/src/app/orvane"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe" --simulate "$@"
fi
shot="$dir/orvane-screenshot.png"
echo "No display: running under a virtual X display; the window is saved to $shot"
xvfb-run -a "$exe" --simulate --screenshot "$shot" "$@"
echo "Screenshot: $shot"
