#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build folder into a scratch folder and checks it as a
# distribution would: lintian without errors or warnings (info tags are printed), the control
# fields (Homepage, description lines within 80 columns, the CJK fonts), the machine-readable
# copyright file and the changelog, and hardened executables.
#   tests/install/check_package.sh BUILD_DIR [hardened|plain]
# A plain build (sanitizers, fuzzing, debug) makes no package worth checking: skipped.
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v dpkg-deb >/dev/null || { echo "SKIPPED: dpkg-deb is missing"; exit 0; }
[ "${2:-hardened}" = hardened ] || { echo "SKIPPED: not a hardened optimised build"; exit 0; }

(cd "$build" && cpack -G DEB -B "$work" >/dev/null 2>&1) || fail "cpack failed"
deb=$(find "$work" -maxdepth 1 -name 'orvane_*.deb' | head -1)
[ -n "$deb" ] || fail "cpack made no package"

control=$(dpkg-deb -f "$deb")
grep -q "^Homepage: https://" <<<"$control" || fail "no Homepage field"
grep -q "^Depends:.*fonts-ipafont-gothic | fonts-noto-cjk" <<<"$control" || fail "no Japanese font in Depends"
grep -q "^Depends:.*fonts-wqy-microhei | fonts-noto-cjk" <<<"$control" || fail "no Chinese font in Depends"
long=$(sed -n '/^Description:/,$p' <<<"$control" | awk 'length > 80')
[ -z "$long" ] || fail "description lines over 80 columns: $long"

dpkg-deb -x "$deb" "$work/root"
doc="$work/root/usr/share/doc/orvane"
head -1 "$doc/copyright" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "the copyright file is not machine-readable"
for licence in GPL-3.0-or-later CC0-1.0; do
  grep -q "^License: $licence$" "$doc/copyright" || fail "the copyright file names no $licence"
done
zcat "$doc/changelog.gz" | head -1 | grep -q "^orvane (" || fail "no changelog"

# Hardened executables: bound at start (BIND_NOW), read-only relocations, PIE, fortified
# calls and the stack protector.
for program in orvane orvanectl; do
  exe="$work/root/usr/bin/$program"
  headers=$(readelf -W -l -d "$exe")
  grep -q "GNU_RELRO" <<<"$headers" || fail "$program: no RELRO"
  grep -q "BIND_NOW\|FLAGS.*NOW" <<<"$headers" || fail "$program: not bound at start"
  readelf -h "$exe" | grep -q "DYN" || fail "$program: not position-independent"
  symbols=$(readelf -W --dyn-syms "$exe")
  grep -q "__stack_chk_fail" <<<"$symbols" || fail "$program: no stack protector"
  grep -q "_chk@" <<<"$symbols" || fail "$program: no fortified calls"
done

if command -v lintian >/dev/null; then
  report=$(lintian --info --display-info "$deb" 2>&1 || true)
  if grep -q "^[EW]: " <<<"$report"; then fail "lintian: $(grep "^[EW]: " <<<"$report")"; fi
  grep "^[IP]: \|^N: " <<<"$report" | grep "^[IP]: " || true
else
  echo "lintian is missing: the package's tags were not checked"
fi
echo "Debian package: ok"
