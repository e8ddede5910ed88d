#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's D-Bus service on a private session bus, with emulated devices:
#  - orvanectl through the program and orvanectl on its own devices print the same and exit
#    the same for a table of commands (and the program's devices and files took the change);
#  - daemon-status both ways; --direct; another data folder refused;
#  - gdbus (a client of GLib's, not ours) reads properties, calls methods, and gets the
#    service's errors for wrong types and values, with nothing changed;
#  - the interfaces the service offers are the ones data/dbus describes.
#   dbus-run-session -- tests/dbus/check_bus_service.sh ORVANECTL ORVANE SOURCE_DIR
set -euo pipefail
orvanectl="$1" orvane="$2" source="$3"
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v gdbus >/dev/null || { echo "SKIPPED: gdbus is not installed"; exit 0; }
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus (run under dbus-run-session)"

work=$(mktemp -d)
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/program" "$work/alone" "$work/cwd"
export QT_QPA_PLATFORM=offscreen

# Not running: daemon-status says so in one line, exit 1.
set +e
out=$("$orvanectl" daemon-status 2>&1); rc=$?
set -e
[ $rc -eq 1 ] || fail "daemon-status without the program: exit $rc"
if [ "$(wc -l <<<"$out")" -ne 1 ] || ! grep -q "not running" <<<"$out"; then fail "daemon-status without the program: $out"; fi

ORVANE_DATA_DIR="$work/program" "$orvane" --simulate --dbus >"$work/program.log" 2>&1 &
program=$!
for _ in $(seq 200); do
  "$orvanectl" daemon-status >/dev/null 2>&1 && break
  sleep 0.05
done
out=$("$orvanectl" daemon-status) || fail "daemon-status with the program: $out"
grep -q "^program	running, version " <<<"$out" || fail "daemon-status: $out"
grep -q "^data folder	$work/program\$" <<<"$out" || fail "daemon-status data folder: $out"
grep -q "^sdk server	off\$" <<<"$out" || fail "daemon-status sdk server: $out"
# The devices have arrived once the keyboard's object says so.
dev=/io/orvane/Configurator1
get() { gdbus call --session --dest io.orvane.Configurator1 --object-path "$dev/$1" \
          --method org.freedesktop.DBus.Properties.Get io.orvane.Configurator1.Device "$2"; }
for _ in $(seq 200); do
  [ "$(get Mousepad Connected 2>/dev/null)" = "(<true>,)" ] && [ "$(get Keyboard Connected 2>/dev/null)" = "(<true>,)" ] && break
  sleep 0.05
done
# orvanectl alone starts from the program's files as they are now.
cp -a "$work/program/." "$work/alone/"

# Each line: the command; through the program and alone (--simulate) must agree.
cases=(
  "readback mp"
  "info kb"
  "keys ms"
  "assign kb 10 key:B"
  "assign ms 3 key:A"
  "lighting kb --mode 3 --brightness 2"
  "lighting ms --mode 4 --color 123456"
  "lighting mp --speed 1"
  "profile add kb led"
  "profile select kb led 0"
  "macros kb"
  "lighting kb --mode 99"
  "lighting mp --paint 0:1:FF0000"
  "assign kb 999 key:A"
  "assign ms 0 nothing"
  "profile select kb led 7"
  "slot kb 1"
  "reset ms"
  "reset kb"
  "profile"
)
for c in "${cases[@]}"; do
  read -r -a words <<<"$c"
  set +e
  ORVANE_DATA_DIR="$work/program" "$orvanectl" "${words[@]}" >"$work/through.out" 2>"$work/through.err"; through=$?
  ORVANE_DATA_DIR="$work/alone" "$orvanectl" --simulate "${words[@]}" >"$work/alone.out" 2>"$work/alone.err"; alone=$?
  set -e
  [ $through -eq $alone ] || fail "$c: exit $through through the program, $alone alone ($(cat "$work/through.err"))"
  cmp -s "$work/through.out" "$work/alone.out" || fail "$c: stdout differs: $(diff "$work/through.out" "$work/alone.out")"
  cmp -s "$work/through.err" "$work/alone.err" || fail "$c: stderr differs: $(diff "$work/through.err" "$work/alone.err")"
done
# The program's own state took the changes: its device and its properties.
[ "$(get Keyboard LightingMode)" = "(<3>,)" ] || fail "keyboard mode property: $(get Keyboard LightingMode)"
[ "$(get Mouse Colour)" = "(<'123456'>,)" ] || fail "mouse colour property: $(get Mouse Colour)"
[ "$(get Keyboard SelectedLightingProfile)" = "(<0>,)" ] || fail "selected profile: $(get Keyboard SelectedLightingProfile)"
[ "$(get Keyboard LightingProfiles)" = "(<['New Profile 1', 'New Profile 2']>,)" ] || fail "profiles: $(get Keyboard LightingProfiles)"
"$orvanectl" readback kb | grep -q '"banks": \["[0-9a-f]*' || fail "readback kb through the program"

# --direct opens the devices here (there are none but emulated ones in the program).
set +e
out=$("$orvanectl" --direct info kb 2>&1); rc=$?
set -e
if [ $rc -ne 1 ] || ! grep -q "^orvanectl: kb: " <<<"$out"; then fail "--direct went to the program: $out"; fi
# Another data folder than the program's is refused, nothing done.
set +e
out=$(ORVANE_DATA_DIR="$work/alone" "$orvanectl" lighting kb --mode 5 2>&1); rc=$?
set -e
if [ $rc -ne 1 ] || ! grep -q "keeps its profiles in $work/program" <<<"$out"; then fail "other data folder: exit $rc: $out"; fi
[ "$(get Keyboard LightingMode)" = "(<3>,)" ] || fail "the refused command changed the mode"
# A relative file name is of orvanectl's working folder.
(cd "$work/cwd" && ORVANE_DATA_DIR="$work/program" "$orvanectl" profile export kb led 0 saved.led >/dev/null) ||
  fail "export through the program"
[ -s "$work/cwd/saved.led" ] || fail "the export did not land in orvanectl's working folder"

# gdbus: methods and errors.
call() { gdbus call --session --dest io.orvane.Configurator1 --object-path "$dev/$1" \
           --method "io.orvane.Configurator1.Device.$2" "${@:3}" 2>&1; }
out=$(call Mousepad SetLighting "{'mode': <3>, 'colour': <'00FF00'>}") || fail "SetLighting: $out"
grep -q "mode 3, .*colour 00FF00" <<<"$out" || fail "SetLighting answered: $out"
[ "$(get Mousepad LightingMode)" = "(<3>,)" ] || fail "mousepad mode after SetLighting"
expect_error() {  # NAME MESSAGE-PART OBJECT METHOD ARGS...
  local name="$1" part="$2"; shift 2
  local out
  if out=$(call "$@"); then fail "$* succeeded: $out"; fi
  if ! grep -q "$name" <<<"$out" || ! grep -q -- "$part" <<<"$out"; then fail "$*: $out"; fi
}
expect_error Error.BadArgument "brightness takes 0-4" Mousepad SetLighting "{'brightness': <9>}"
expect_error Error.BadArgument "mode is a whole number" Mousepad SetLighting "{'mode': <'fast'>}"
expect_error Error.BadArgument "unknown lighting value" Mousepad SetLighting "{'glow': <1>}"
expect_error Error.BadArgument "\"key\" or \"led\"" Keyboard SelectProfile "'both'" 0
expect_error Error.BadArgument "only the mouse" Keyboard UploadCursors
expect_error Error.Failed "no profile 9" Keyboard SelectProfile "'led'" 9
# Wrong types, sent as they are (gdbus would check them against the introspection first).
if command -v busctl >/dev/null; then
  for bad in "Mouse SelectSlot s two" "Mouse Assign s 1" "Mousepad SetLighting a{ss} 1 mode 3"; do
    read -r -a words <<<"$bad"
    if out=$(busctl --user call io.orvane.Configurator1 "$dev/${words[0]}" io.orvane.Configurator1.Device \
               "${words[@]:1}" 2>&1); then fail "busctl $bad succeeded: $out"; fi
    grep -q "No such method" <<<"$out" || fail "busctl $bad: $out"
  done
fi
[ "$(get Mousepad LightingMode)" = "(<3>,)" ] || fail "a refused call changed the mousepad"
[ "$(get Mouse ColourCycle)" = "(<false>,)" ] || fail "a refused call changed the mouse"
out=$(call Mouse SelectSlot 2) || fail "SelectSlot: $out"
grep -q "slot 2 is now active" <<<"$out" || fail "SelectSlot: $out"

# The interfaces offered are the ones the installed files describe (member, kind, signature).
members() {  # XML on stdin → "interface member kind signature" lines of io.orvane interfaces
  python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.fromstring(sys.stdin.read())
for i in root.iter("interface"):
    if not i.get("name").startswith("io.orvane."): continue
    for m in i:
        if m.tag == "property": sig = m.get("type") + " " + m.get("access")
        elif m.tag in ("method", "signal"):
            sig = " ".join((a.get("direction") or "out") + ":" + a.get("type") for a in m.iter("arg"))
        else: continue
        print(i.get("name"), m.get("name"), m.tag, sig)' | sort
}
for pair in "Manager:" "Device:/Keyboard"; do
  file="$source/data/dbus/io.orvane.Configurator1.${pair%%:*}.xml"
  live=$(gdbus introspect --session --dest io.orvane.Configurator1 --object-path "$dev${pair#*:}" --xml | members)
  described=$(members <"$file")
  [ "$live" = "$described" ] || fail "$(basename "$file") differs from the service: $(diff <(echo "$described") <(echo "$live"))"
done

# Stopped: not reachable.
kill "$program"; wait "$program" 2>/dev/null || true
program=""
set +e
"$orvanectl" daemon-status >/dev/null 2>&1; rc=$?
set -e
[ $rc -eq 1 ] || fail "daemon-status after the program ended: exit $rc"
echo "ok"
