#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Hot-plug latency on the umockdev test bed: with the udev monitor, then with the periodic
# scans and probes alone.
#   bench/measure_hotplug.sh [BUILD_DIR] [ITERATIONS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
iterations="${2:-40}"
exe="$dir/bench/orvane_hotplug_bench"
[ -x "$exe" ] || { echo "no $exe: build with umockdev installed (scripts/build.sh)" >&2; exit 1; }
umockdev-wrapper "$exe" "$iterations"
umockdev-wrapper "$exe" "$(( (iterations + 3) / 4 ))" --no-udev
