#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's orvanectl examples, followed literally and in order on fresh data (a new data
# folder, home and config): each succeeds. Left out are the lines that need what a test
# machine lacks: real devices ("list" without --simulate), an update server, a window in front.
#   tests/install/check_readme_examples.sh ORVANECTL README
set -euo pipefail
orvanectl="$(realpath "$1")" readme="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/home"
export ORVANE_DATA_DIR="$work/home/Documents/KX"
mkdir -p "$HOME"
cd "$work"

mapfile -t lines < <(sed -n 's|^build/tools/orvanectl \(.*\)|\1|p' "$readme" | sed 's|  *# .*||')
[ "${#lines[@]}" -gt 10 ] || fail "no orvanectl examples found in $readme"
ran=0
for line in "${lines[@]}"; do
  case " $line " in
    " list " | *" foreground "* | *HOST*) continue ;;
  esac
  eval "args=($line)"
  # shellcheck disable=SC2154  # set by the eval
  if ! out=$("$orvanectl" "${args[@]}" 2>&1); then
    fail "README example 'orvanectl $line' failed: $out"
  fi
  ran=$((ran + 1))
done
echo "README examples: $ran of ${#lines[@]} ran in order on fresh data"
