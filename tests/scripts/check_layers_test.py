#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The layer check on small planted trees: a tree that keeps the rule passes; an include of
a folder above, of a sibling, and a folder without a place in the order are each rejected."""
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check_layers.py")


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
        result = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
        return result.returncode, result.stdout


def main():
    failures = []
    clean = {
        "src/device/a.h": '#include "platform/ini_file.h"\n',
        "src/mouse/m.cpp": '#include "device/a.h"\n#include "mouse/m.h"\n#include "functions/function_code.h"\n',
        "src/macros/a.cpp": '#include "functions/function_lists.h"\n#include "keyboard/keyboard_records.h"\n',
        "src/app/main.cpp": '#include "runtime/runtime.h"\n#include "sim/emulator.h"\n',
        "tools/t.cpp": '#include "profiles/p.h"\n',
    }
    cases = [
        ("a tree that keeps the rule", clean, 0, None),
        ("an include of a folder above", {**clean, "src/device/up.cpp": '#include "runtime/runtime.h"\n'}, 1,
         "device includes runtime/, which is above it"),
        ("an include of a sibling", {**clean, "src/mousepad/p.h": '#include "mouse/onboard.h"\n'}, 1,
         "mousepad includes mouse/, which is beside it"),
        ("the core reaching the window", {**clean, "src/profiles/p.cpp": '  #  include "ui/pages/x.h"\n'}, 1,
         "profiles includes ui/"),
        ("the function table reaching a device folder",
         {**clean, "src/functions/f.h": '#include "keyboard/keyboard_records.h"\n'}, 1,
         "functions includes keyboard/, which is above it"),
        ("macros reaching the profiles", {**clean, "src/macros/m.cpp": '#include "profiles/profile_names.h"\n'}, 1,
         "macros includes profiles/, which is above it"),
        ("the commands reaching the window", {**clean, "tools/w.cpp": '#include "app/main_window.h"\n'}, 1,
         "tools includes app/, which is above it"),
        ("the commands reaching the skin code", {**clean, "tools/u.cpp": '#include "ui/skin.h"\n'}, 1,
         "tools includes ui/, which is beside it"),
        ("a folder without a place", {**clean, "src/extras/e.cpp": "\n"}, 1, "has no place"),
    ]
    for name, files, code, text in cases:
        rc, out = run(files)
        if rc != code or (text and text not in out):
            failures.append(f"{name}: exit {rc}, output {out!r}")
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
