#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on its own Xvfb server (a free display number each run), with the
# server's default auto-repeat (660 ms delay, 25 a second), as a desktop's X server has it.
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
