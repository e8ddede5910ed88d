#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into a build folder.
#   scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
# Defaults: build/ with RelWithDebInfo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
"$root/scripts/install-deps.sh"
# Let ccache share results between clones of the project in different folders.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
