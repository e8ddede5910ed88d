#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every tracked source, CMake and script file starts with its licence line: the first line,
or the second after a shebang. Files are the ones git tracks (in a checkout without git, every
file outside build folders). Sources: .cpp, .h, .py, .sh, .cmake, CMakeLists.txt, and any
file starting with a shebang (hooks and scripts without an extension)."""
import os
import subprocess
import sys

SUFFIXES = (".cpp", ".h", ".py", ".sh", ".cmake")
LINES = ("// SPDX-License-Identifier: GPL-3.0-or-later", "# SPDX-License-Identifier: GPL-3.0-or-later")


def tracked(root):
    try:
        out = subprocess.run(["git", "-C", root, "ls-files", "-z"], capture_output=True, check=True).stdout
        return [p for p in out.decode().split("\0") if p]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for folder, dirs, names in os.walk(root):
            dirs[:] = [d for d in dirs if not d.startswith(("build", ".git"))]
            files += [os.path.relpath(os.path.join(folder, n), root) for n in names]
        return files


def head(path):
    try:
        with open(path, "rb") as f:
            return f.read(512).decode("utf-8", "replace").splitlines()[:2]
    except OSError:
        return []


def missing(root):
    bad = []
    for rel in tracked(root):
        lines = head(os.path.join(root, rel))
        shebang = bool(lines) and lines[0].startswith("#!")
        if not (rel.endswith(SUFFIXES) or os.path.basename(rel) == "CMakeLists.txt" or shebang):
            continue
        licence = lines[1] if shebang and len(lines) > 1 else (lines[0] if lines and not shebang else "")
        if licence.strip() not in LINES:
            bad.append(rel)
    return bad


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    bad = missing(root)
    for rel in bad:
        print(f"{rel}: no '# SPDX-License-Identifier: GPL-3.0-or-later' (or '//') line at the top")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
