#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The udev rules on a umockdev test bed, through udevadm test: each model's configuration
# node (and consumer-control node where the listeners read it) is granted to the user at the
# seat; the keystroke interface, other interfaces and other products of the same vendor ids
# are not. udevadm reads only these rules: a private mount namespace puts them alone in
# /etc/udev/rules.d and keeps udevadm's database writes out of the machine's /run/udev.
#   tests/hidraw/check_udev_rules.sh RULES_FILE
set -euo pipefail
rules="$(realpath "$1")"
for tool in umockdev-run udevadm unshare; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing (scripts/install-deps.sh installs it)"; exit 0; }
done
if [ "$(id -u)" -eq 0 ]; then isolate=(unshare -m); else isolate=(unshare -rm); fi
"${isolate[@]}" true 2>/dev/null || { echo "SKIPPED: no private mount namespace (unshare) here"; exit 0; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# vendor product interface class granted?
cases=(
  "264a 3021 00 03 no"  "264a 3021 01 03 yes" "264a 3021 02 03 yes"
  "264a 0000 00 03 no"  "264a 0000 01 03 yes" "264a 0000 02 03 no"
  "0c45 5523 00 03 no"  "0c45 5523 01 03 yes" "0c45 5523 02 03 yes"
  "0c45 6717 00 03 no"  "0c45 6717 01 03 yes" "0c45 6717 02 03 yes"
  "0c45 5104 00 03 no"  "0c45 5104 01 03 yes" "0c45 5104 02 03 no"
  "0c45 5524 01 03 no"  "264a 3022 01 03 no"  "1234 3021 01 03 no"
  "0c45 5523 01 0e no"  "264a 0000 03 03 no"
)
bed="$work/bed.umockdev"
: >"$bed"
for i in "${!cases[@]}"; do
  read -r vid pid intf class _ <<<"${cases[$i]}"
  usb="/devices/pci0000:00/0000:00:14.0/usb9/9-$((i + 1))"
  hid="$usb/9-$((i + 1)):1.$((10#$intf))/0003:${vid^^}:${pid^^}.$(printf %04X "$i")"
  cat >>"$bed" <<EOF
P: $hid/hidraw/hidraw$i
N: hidraw$i
E: DEVNAME=/dev/hidraw$i
E: SUBSYSTEM=hidraw
A: dev=245:$i

P: $hid
E: SUBSYSTEM=hid
E: HID_ID=0003:0000${vid^^}:0000${pid^^}

P: $usb/9-$((i + 1)):1.$((10#$intf))
E: DEVTYPE=usb_interface
E: SUBSYSTEM=usb
A: bInterfaceNumber=$intf
A: bInterfaceClass=$class

P: $usb
E: DEVTYPE=usb_device
E: SUBSYSTEM=usb
A: idVendor=$vid
A: idProduct=$pid

EOF
done
mkdir "$work/rules"
cp "$rules" "$work/rules/"

# Every node through udevadm test; one line per node: its number and its TAGS.
# shellcheck disable=SC2016  # expanded by the inner shell
"${isolate[@]}" bash -c '
  set -e
  work=$1 count=$2
  mount -t tmpfs none /usr/lib/udev/rules.d
  mkdir -p /etc/udev/rules.d /run/udev
  mount --bind "$work/rules" /etc/udev/rules.d
  mount -t tmpfs none /run/udev
  umockdev-run -d "$work/bed.umockdev" -- bash -c "
    for ((i = 0; i < $count; i++)); do
      tags=\$(udevadm test --action=add /sys/class/hidraw/hidraw\$i 2>/dev/null | sed -n \"s/^TAGS=//p\")
      echo \"\$i \${tags:-none}\"
    done"' _ "$work" "${#cases[@]}" >"$work/tags"

[ "$(wc -l <"$work/tags")" -eq "${#cases[@]}" ] || fail "udevadm test did not report every node: $(cat "$work/tags")"
while read -r i tags; do
  read -r vid pid intf class granted <<<"${cases[$i]}"
  got=no
  [[ $tags == *:uaccess:* ]] && got=yes
  [ "$got" = "$granted" ] || fail "$vid:$pid interface $intf class $class: uaccess $got, expected $granted"
done <"$work/tags"
echo "udev rules: ${#cases[@]} nodes granted or refused as expected"
