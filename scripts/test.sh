#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the project and runs every test (unit, integration against the device emulator,
# and the offscreen UI tests).
#   scripts/test.sh [BUILD_DIR] [ctest arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
"$root/scripts/build.sh" "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
