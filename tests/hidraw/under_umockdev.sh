#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program under umockdev's preload library, which the hidraw test bed needs.
# A sanitizer runtime wants to be first among the preloaded libraries; umockdev's comes first
# here, which is fine for these tests.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
export ASAN_OPTIONS
exec umockdev-wrapper "$@"
