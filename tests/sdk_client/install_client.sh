#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the npm package openrgb-sdk (an OpenRGB SDK client written by others) into a
# cache folder, once: install_client.sh CACHE_DIR. Exit 77 (a skip for ctest) when node or
# npm are missing or the registry cannot be reached; 0 when the client is there.
set -euo pipefail
cache="${1:?usage: install_client.sh CACHE_DIR}"
version="0.6.0"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "SKIP: node or npm is not installed (scripts/install-deps.sh installs them)"
  exit 77
fi
if [ -f "$cache/node_modules/openrgb-sdk/package.json" ] &&
   grep -q "\"version\": \"$version\"" "$cache/node_modules/openrgb-sdk/package.json"; then
  exit 0
fi
mkdir -p "$cache"
if ! timeout 300 npm install --prefix "$cache" --no-audit --no-fund --no-save --silent "openrgb-sdk@$version" >"$cache/npm.log" 2>&1; then
  echo "SKIP: npm could not install openrgb-sdk@$version (no registry access?); see $cache/npm.log"
  exit 77
fi
