#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A real OpenRGB SDK client (the npm package openrgb-sdk) against the running program on
# emulated devices: run_client_test.sh ORVANE CACHE_DIR. The program runs offscreen with a
# scratch home and data folder and --sdk-server on a free loopback port; client_test.js
# lists the devices, reads them, sets every LED, a zone, one LED, switches modes and
# disconnects. Exit 77 when the client cannot be installed.
set -euo pipefail
orvane="${1:?usage: run_client_test.sh ORVANE CACHE_DIR}"
cache="${2:?usage: run_client_test.sh ORVANE CACHE_DIR}"
here="$(cd "$(dirname "$0")" && pwd)"
"$here/install_client.sh" "$cache" || exit $?

work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home/Documents/KX"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/home"
export ORVANE_DATA_DIR="$work/home/Documents/KX" QT_QPA_PLATFORM=offscreen
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"

"$orvane" --simulate --sdk-server="$port" >"$work/orvane.log" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $port), 0.2).close()" 2>/dev/null; then
    break
  fi
  kill -0 "$pid" 2>/dev/null || { echo "orvane ended before its SDK server listened:"; cat "$work/orvane.log"; exit 1; }
  sleep 0.1
done
if ! NODE_PATH="$cache/node_modules" timeout 120 node "$here/client_test.js" "$port"; then
  echo "--- orvane's log ---"
  cat "$work/orvane.log"
  exit 1
fi
