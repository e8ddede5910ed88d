#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process lighting figures: frames per second per device at the fastest speed over
# the emulator's 1 ms link against what the tick and transfer times allow, and the CPU of
# the whole process while the four workers stream; then the program's idle CPU with no
# device. Build with -DCMAKE_BUILD_TYPE=Release first.
#   bench/measure_stream.sh [BUILD_DIR] [SECONDS]
set -eu
build=${1:-build-release}
seconds=${2:-20}
ctl="$build/tools/orvanectl"
prog="$build/src/app/orvane"

echo "== own effects, fastest speed (kb colour cycle, mouse spectrum, pad spectrum)"
/usr/bin/time -f "process: %U s user, %S s system, %e s wall, %P CPU, %M KB max resident" \
    "$ctl" --simulate stream "$seconds" --speed 0 --brightness 4 --kb 7 --ms 3 --mp 1
echo "== own effects with the longer frames (pad static 60 bytes, mouse static)"
"$ctl" --simulate stream "$seconds" --speed 0 --brightness 4 --kb 4 --ms 0 --mp 3
echo "== synchronised spectrum over all three"
"$ctl" --simulate stream "$seconds" --speed 0 --brightness 4 --sync 3

# The program itself: CPU from /proc over the same time, with no device (the real HID
# backend, nothing plugged in: it sits in the tray) and on the three emulated devices
# streaming their stored effects with the window's previews.
cpu_of() {
    home=$(mktemp -d)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home QT_QPA_PLATFORM=offscreen \
        "$prog" "$@" >/dev/null 2>&1 &
    pid=$!
    sleep 5  # start-up and the workers' start waits
    t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$seconds"
    t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    rm -rf "$home"
    awk -v a="$t0" -v b="$t1" -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$*" \
        'BEGIN { printf "orvane %s: %.2f %% of one core over %d s\n", what, 100 * (b - a) / hz / s, s }'
}
if [ -x "$prog" ]; then
    echo "== the program"
    cpu_of
    cpu_of --simulate
fi
