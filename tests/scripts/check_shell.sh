#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs shellcheck over every tracked shell script and the bash completion: no finding of any level.
#   tests/scripts/check_shell.sh SOURCE_DIR
set -euo pipefail
root="$1"
command -v shellcheck >/dev/null || { echo "SKIPPED: shellcheck is missing (scripts/install-deps.sh installs it)"; exit 0; }
cd "$root"
mapfile -t scripts < <(git ls-files '*.sh' 2>/dev/null || find . -name '*.sh' -not -path './build*')
shellcheck "${scripts[@]}" data/deb/postinst data/deb/postrm .ci/run
shellcheck --shell=bash data/completion/orvanectl
echo "shellcheck: ${#scripts[@]} scripts and the completion are clean"
