#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process figures of the program: start-up to a written screenshot, and CPU and resident
# memory while it idles for a while with no device (real HID backend, nothing plugged in) or
# on emulated devices.
#   scripts/measure_idle.sh [BUILD_DIR] [SECONDS] [extra orvane arguments, e.g. --simulate]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
seconds="${2:-60}"
shift 2 || true
exe="$dir/src/app/orvane"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen

start=$(date +%s.%N)
"$exe" --simulate --screenshot "$home/shot.png" >/dev/null 2>&1
end=$(date +%s.%N)
awk -v a="$start" -v b="$end" 'BEGIN { printf "start-up to screenshot (--simulate): %.3f s\n", b - a }'

"$exe" "$@" >/dev/null 2>&1 &
pid=$!
sleep 3  # let start-up settle
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
t0=$(ticks)
sleep "$seconds"
t1=$(ticks)
hz=$(getconf CLK_TCK)
rss=$(awk '/VmRSS/ {print $2 " " $3}' "/proc/$pid/status")
kill "$pid"; wait "$pid" 2>/dev/null || true
awk -v t="$((t1 - t0))" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "CPU over %d s: %.3f %% of one core\n", s, 100 * t / (hz * s) }'
echo "resident memory: $rss"
