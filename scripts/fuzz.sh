#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every libFuzzer target of a fuzz build: first each input in its seed corpus
# (tests/fuzz/corpus/<target>/) and each input that once crashed it (tests/fuzz/regressions/
# <target>/) once, then fuzzing from the seeds for a while. A crash ends the run with status
# 1 and its input is kept in tests/fuzz/regressions/<target>/, to be committed with the fix.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
# The build: cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
#   -DORVANE_BUILD_FUZZ=ON -DORVANE_BUILD_UI=OFF -DORVANE_BUILD_TESTS=OFF && \
#   cmake --build build-fuzz --target orvane_fuzz
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build-fuzz}"
seconds="${2:-20}"
shopt -s nullglob
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=()
printf '%-24s %12s %8s  %s\n' target executions crashes "(fuzzing ${seconds} s each)"
for bin in "$dir"/tests/fuzz/*_fuzz; do
  name="$(basename "$bin")"
  seeds="$root/tests/fuzz/corpus/$name"
  keep="$root/tests/fuzz/regressions/$name"
  mkdir -p "$keep"
  work="$(mktemp -d)"
  log="$work/log"
  crashes=0
  # What crashed before must not crash again.
  replay=("$seeds"/* "$keep"/*)
  if [ ${#replay[@]} -gt 0 ] && ! "$bin" -rss_limit_mb=2048 "${replay[@]}" >"$log" 2>&1; then
    crashes=1
    echo "--- $name: a seed or regression input fails:"; tail -30 "$log"
  fi
  if [ "$crashes" -eq 0 ]; then
    if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
         -artifact_prefix="$keep/" "$work" "$seeds" >"$log" 2>&1; then
      crashes=1
      echo "--- $name crashed; the input is kept in ${keep#"$root"/}/ (commit it as a regression case):"
      grep -E "^==|ERROR|SUMMARY|property failed|Test unit written" "$log" | head -20
    fi
  fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  printf '%-24s %12s %8s\n' "$name" "${runs:-?}" "$crashes"
  [ "$crashes" -eq 0 ] || failed+=("$name")
  rm -rf "$work"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found crashes in: ${failed[*]}"
  exit 1
fi
