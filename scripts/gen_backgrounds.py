#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw the background images of the skin window (no dependencies beyond Python itself).

skin/common/background.png  the default look (the same as images/background.svg), which
                            "skin_reset" brings back
skin/backgrounds/*.png      the preset images of the skin window's image page

Dark gradients with soft coloured glows and faint diagonal lines, ordered-dithered so that
the slow gradients show no bands. The output is deterministic; run it after changing a
design here, and commit the images.

Usage: scripts/gen_backgrounds.py [skin folder]
"""
import math
import struct
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
SKIN = Path(sys.argv[1]) if len(sys.argv) > 1 else HERE.parent / "skin"
WIDTH, HEIGHT = 800, 572
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# A design: top and bottom colour of the base gradient, glows (centre and radius relative to
# the image, colour, opacity), and the faint line pattern (spacing, opacity; 0 for none).
DESIGNS = {
    "common/background.png": dict(
        top="#15181d", bottom="#0f1114",
        glows=[((0.88, 0.02), 0.55, "#e0323c", 0.16), ((0.05, 1.0), 0.50, "#2fb8d6", 0.06)],
        lines=(60, 0.025)),
    "backgrounds/graphite.png": dict(
        top="#1a1c20", bottom="#0c0d0f",
        glows=[((0.50, 0.0), 0.80, "#9aa4b2", 0.07)],
        lines=(14, 0.018)),
    "backgrounds/ember.png": dict(
        top="#120e0f", bottom="#0b0909",
        glows=[((0.95, 0.95), 0.70, "#ff5a1f", 0.20), ((0.10, 0.05), 0.45, "#e0323c", 0.07)],
        lines=(0, 0)),
    "backgrounds/glacier.png": dict(
        top="#0d1518", bottom="#090c0e",
        glows=[((0.08, 0.06), 0.75, "#2fb8d6", 0.16), ((0.95, 1.0), 0.50, "#3a6df0", 0.07)],
        lines=(90, 0.02)),
    "backgrounds/dusk.png": dict(
        top="#15111d", bottom="#0b0a10",
        glows=[((0.70, 0.10), 0.65, "#8a3cf0", 0.15), ((0.15, 0.95), 0.55, "#e03c8a", 0.08)],
        lines=(0, 0)),
}


def render(design):
    top, bottom = hex_colour(design["top"]), hex_colour(design["bottom"])
    glows = [(cx, cy, r, hex_colour(c), a) for (cx, cy), r, c, a in design["glows"]]
    spacing, line_alpha = design["lines"]
    rows = []
    for y in range(HEIGHT):
        v = y / (HEIGHT - 1)
        base = [top[k] + (bottom[k] - top[k]) * v for k in range(3)]
        row = bytearray()
        for x in range(WIDTH):
            u = x / (WIDTH - 1)
            c = list(base)
            for cx, cy, r, colour, alpha in glows:
                d = math.hypot(u - cx, v - cy) / r
                if d < 1.0:
                    a = alpha * (1.0 - d) ** 2 * (3 - 2 * (1.0 - d))  # smooth fall-off
                    c = [c[k] + (colour[k] - c[k]) * a for k in range(3)]
            if spacing and (x - y) % spacing == 0:
                c = [c[k] + (255 - c[k]) * line_alpha for k in range(3)]
            threshold = (BAYER[y % 4][x % 4] + 0.5) / 16.0
            row.extend(min(255, int(c[k] + threshold)) for k in range(3))
        rows.append(bytes(row))
    return rows


def filtered(rows):
    """PNG scanlines, each with the filter (none, sub or up) that leaves the smallest sum."""
    out = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        sub = bytes((row[i] - (row[i - 3] if i >= 3 else 0)) & 0xFF for i in range(len(row)))
        up = bytes((row[i] - previous[i]) & 0xFF for i in range(len(row)))
        candidates = [(0, row), (1, sub), (2, up)]
        kind, data = min(candidates, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1]))
        out.append(kind)
        out.extend(data)
        previous = row
    return bytes(out)


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(filtered(rows), 9))
            + chunk(b"IEND", b""))


def main():
    for name, design in DESIGNS.items():
        target = SKIN / name
        target.parent.mkdir(parents=True, exist_ok=True)
        data = png(render(design))
        target.write_bytes(data)
        print(f"{target.relative_to(SKIN.parent)}: {len(data) // 1024} KB")


if __name__ == "__main__":
    main()
