#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The include rule of the source folders: a file may include headers of its own folder and
of folders below it, never of a folder beside or above it.

    platform < device < functions < keyboard, mouse, mousepad, update, appearance
             < lighting, macros < profiles < runtime < integrations < sim < ui, tools < app

Folders on one step are siblings and do not include each other (the mousepad does not build
on the mouse; what both need lives below them). Run at configure time and as a test:

    check_layers.py [ROOT]     ROOT holds src/, sim/ and tools/ (default: the project)

Exit 0 when every include keeps the rule, 1 with one line per breach otherwise.
"""
import os
import re
import sys

STEPS = [
    ["platform"],
    ["device"],
    ["functions"],
    ["keyboard", "mouse", "mousepad", "update", "appearance"],
    ["lighting", "macros"],
    ["profiles"],
    ["runtime"],
    ["integrations"],
    ["sim"],
    # tools: orvanectl's commands, which the program also runs for orvanectl over D-Bus.
    ["ui", "tools"],
    ["app"],
]
RANK = {folder: step for step, folders in enumerate(STEPS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')
SOURCES = (".h", ".hpp", ".cpp", ".cc")


def folder_of(root, path):
    rel = os.path.relpath(path, root).split(os.sep)
    if rel[0] == "src" and len(rel) > 2:
        return rel[1]
    return rel[0]


def breaches(root):
    found = []
    for top in ("src", "sim", "tools"):
        base = os.path.join(root, top)
        for folder, _, files in os.walk(base):
            for name in files:
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(folder, name)
                own = folder_of(root, path)
                if own not in RANK:
                    found.append(f"{os.path.relpath(path, root)}: folder '{own}' has no place in the layer order")
                    continue
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or m.group(1) not in RANK or m.group(1) == own:
                            continue
                        other = m.group(1)
                        if RANK[other] >= RANK[own]:
                            how = "beside" if RANK[other] == RANK[own] else "above"
                            found.append(f"{os.path.relpath(path, root)}:{number}: {own} includes {other}/, "
                                         f"which is {how} it")
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    found = breaches(root)
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
