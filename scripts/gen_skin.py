#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generate the device pictures of the skin and the lighting preview controls on them.

Writes skin/images/keyboard.svg, mouse.svg and mousepad.svg and replaces the children of
the three picture frames in skin/main.ui ("kb_lighting_picture", "ms_lighting_picture",
"mp_lighting_picture") with the preview controls "kb_dkey_0".."kb_dkey_125",
"ms_dkey_0".."ms_dkey_19" and "mp_dkey_0".."mp_dkey_14", each placed exactly over the key
or LED zone it shows. The rest of main.ui is left as it is, so hand edits survive a re-run.

Usage: scripts/gen_skin.py [--check]   (--check: exit 1 when the files would change)
"""
import math
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

SKIN = Path(__file__).resolve().parent.parent / "skin"

# ---------------------------------------------------------------------------
# Keyboard: the 126 key positions (6 rows x 21 columns of the keyboard's key table)
# and where each key sits on a full-size ANSI board, in key units.
# ---------------------------------------------------------------------------
KEY_UNIT = 29
KB_PAD = 14

# position -> physical key id; None marks an empty position. The regional keys
# (K14, K56, the ISO key, KL, KR) have no place on the ANSI board drawn here.
POSITIONS = (
    ["esc"] + [f"f{i}" for i in range(1, 13)] + ["prtsc", "scrlk", "pause"] + [None] * 5
    + ["grave"] + [f"d{i}" for i in range(1, 10)] + ["d0", "minus", "equal", "bksp", "ins", "home",
                                                     "pgup", "numlk", "ndiv", "nmul", "nsub"]
    + ["tab"] + list("qwertyuiop") + ["lbr", "rbr", "k14", "del", "end", "pgdn", "n7", "n8", "n9", None]
    + ["caps"] + list("asdfghjkl") + ["semi", "quote", "enter", "n4", "n5", "n6", "bslash", "k56",
                                      None, None, None]
    + ["lshift"] + list("zxcvbnm") + ["comma", "dot", "slash", "rshift", "up", "n1", "n2", "n3",
                                      None, None, "iso", None, None]
    + ["lctrl", "lwin", "lalt", "space", "ralt", "fn", "app", "rctrl", "left", "down", "right",
       "n0", "ndot", "nent", "nadd", "kl", "kr", None, None, None, "rwin"]
)
assert len(POSITIONS) == 126

def _ansi_layout():
    """Physical key id -> (legend, x, y, w, h) in key units."""
    keys = {}

    def row(y, x, items):
        for item in items:
            kid, legend, w = item[0], item[1], item[2] if len(item) > 2 else 1.0
            h = item[3] if len(item) > 3 else 1.0
            if kid is not None:
                keys[kid] = (legend, x, y, w, h)
            x += w

    row(0, 0, [("esc", "Esc"), (None, "", 1)] + [(f"f{i}", f"F{i}") for i in range(1, 5)] + [(None, "", 0.5)]
        + [(f"f{i}", f"F{i}") for i in range(5, 9)] + [(None, "", 0.5)]
        + [(f"f{i}", f"F{i}") for i in range(9, 13)] + [(None, "", 0.25)]
        + [("prtsc", "PrtSc"), ("scrlk", "ScrLk"), ("pause", "Pause")])
    y = 1.5
    row(y, 0, [("grave", "`")] + [(f"d{i}", str(i)) for i in range(1, 10)] + [("d0", "0"), ("minus", "-"),
        ("equal", "="), ("bksp", "Backspace", 2), (None, "", 0.25), ("ins", "Ins"), ("home", "Home"),
        ("pgup", "PgUp"), (None, "", 0.25), ("numlk", "Num"), ("ndiv", "/"), ("nmul", "*"), ("nsub", "-")])
    row(y + 1, 0, [("tab", "Tab", 1.5)] + [(c, c.upper()) for c in "qwertyuiop"] + [("lbr", "["), ("rbr", "]"),
        ("bslash", "\\", 1.5), (None, "", 0.25), ("del", "Del"), ("end", "End"), ("pgdn", "PgDn"),
        (None, "", 0.25), ("n7", "7"), ("n8", "8"), ("n9", "9"), ("nadd", "+", 1, 2)])
    row(y + 2, 0, [("caps", "Caps", 1.75)] + [(c, c.upper()) for c in "asdfghjkl"] + [("semi", ";"),
        ("quote", "'"), ("enter", "Enter", 2.25), (None, "", 3.5), ("n4", "4"), ("n5", "5"), ("n6", "6")])
    row(y + 3, 0, [("lshift", "Shift", 2.25)] + [(c, c.upper()) for c in "zxcvbnm"] + [("comma", ","),
        ("dot", "."), ("slash", "/"), ("rshift", "Shift", 2.75), (None, "", 1.25), ("up", "\u2191"),
        (None, "", 1.25), ("n1", "1"), ("n2", "2"), ("n3", "3"), ("nent", "Ent", 1, 2)])
    row(y + 4, 0, [("lctrl", "Ctrl", 1.25), ("lwin", "Win", 1.25), ("lalt", "Alt", 1.25), ("space", "", 6.25),
        ("ralt", "Alt"), ("rwin", "Win"), ("fn", "Fn"), ("app", "Menu"), ("rctrl", "Ctrl"), (None, "", 0.25),
        ("left", "\u2190"), ("down", "\u2193"), ("right", "\u2192"), (None, "", 0.25), ("n0", "0", 2),
        ("ndot", ".")])
    return keys

ANSI = _ansi_layout()
KB_W = round(22.5 * KEY_UNIT + 2 * KB_PAD)
KB_H = round(6.5 * KEY_UNIT + 2 * KB_PAD)

# Advance widths of DejaVu Sans in ems (the condensed face is 0.9 of them); characters not
# listed count as wide as "M", so an estimate errs towards a smaller legend.
_ADVANCE = {**{c: 0.636 for c in "0123456789"}, "P": 0.603, "a": 0.613, "u": 0.634, "s": 0.521,
            "e": 0.615, "H": 0.752, "o": 0.612, "m": 0.974, "N": 0.748, "M": 0.863, "n": 0.634,
            "r": 0.411, "t": 0.392, "S": 0.635, "c": 0.550, "L": 0.557, "k": 0.579, "g": 0.635,
            "U": 0.732, "p": 0.635, "I": 0.295, "D": 0.770, "l": 0.278, "E": 0.632, "d": 0.635,
            "T": 0.611, "b": 0.635, "C": 0.698, "h": 0.634, "i": 0.278, "f": 0.352, "A": 0.684,
            "W": 0.989, "F": 0.575, "K": 0.656, "x": 0.592, "y": 0.592, "R": 0.695, "B": 0.686,
            "G": 0.775, "O": 0.787, "Q": 0.787, "V": 0.684, "X": 0.685, "Y": 0.611, "Z": 0.685,
            "J": 0.295, "v": 0.592, "w": 0.818, "z": 0.525, "j": 0.278, "q": 0.635}
# The room a legend keeps from each side of its cap's face.
LEGEND_MARGIN = 2

def legend_fit(legend, room, condensed):
    """The largest font size (pixels) at which the legend is at most `room` wide."""
    ems = sum(_ADVANCE.get(c, 0.863) for c in legend) * (0.9 if condensed else 1.0)
    return math.floor(room / ems * 10) / 10

def key_rect(kid, inset):
    _, x, y, w, h = ANSI[kid]
    px, py = KB_PAD + x * KEY_UNIT, KB_PAD + y * KEY_UNIT
    return (round(px + inset), round(py + inset), round(w * KEY_UNIT - 2 * inset), round(h * KEY_UNIT - 2 * inset))

def keyboard_svg():
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{KB_W}" height="{KB_H}" viewBox="0 0 {KB_W} {KB_H}">',
           '<defs><linearGradient id="case" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="#1d2026"/><stop offset="1" stop-color="#111317"/></linearGradient>'
           '<linearGradient id="cap" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="#2b3038"/><stop offset="1" stop-color="#22262d"/></linearGradient></defs>',
           f'<rect x="1.5" y="1.5" width="{KB_W - 3}" height="{KB_H - 3}" rx="12" fill="url(#case)" '
           'stroke="#2c3139" stroke-width="1.5"/>',
           f'<rect x="40" y="1.5" width="{KB_W - 80}" height="1.5" fill="#e0323c" opacity="0.55"/>']
    for kid, (legend, *_rest) in ANSI.items():
        x, y, w, h = key_rect(kid, 1.5)
        out.append(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="4" fill="#15171b" stroke="#30353e"/>')
        out.append(f'<rect x="{x + 2}" y="{y + 1.5}" width="{w - 4}" height="{h - 5}" rx="3" fill="url(#cap)"/>')
        if legend:
            # Short legends bigger, long ones condensed; every legend within its cap's face
            # with a margin on both sides.
            size = 10.5 if len(legend) <= 2 else 9.5 if len(legend) <= 3 else 8.5
            condensed = len(legend) > 2
            family = "DejaVu Sans Condensed, DejaVu Sans" if condensed else "DejaVu Sans"
            size = min(size, legend_fit(legend, w - 4 - 2 * LEGEND_MARGIN, condensed))
            out.append(f'<text x="{x + w / 2}" y="{y + h / 2 + size / 3}" font-family="{family}" '
                       f'font-size="{size}" fill="#b4bcc8" text-anchor="middle">{_xml(legend)}</text>')
    out.append("</svg>")
    return "\n".join(out) + "\n"

def keyboard_cells():
    cells = []
    for pos, kid in enumerate(POSITIONS):
        if kid in ANSI:
            cells.append((f"kb_dkey_{pos}", key_rect(kid, 3.5), True, ANSI[kid][0]))
        else:
            cells.append((f"kb_dkey_{pos}", (0, 0, 0, 0), False, ""))
    return cells

# ---------------------------------------------------------------------------
# Mouse: 20 LED zones. LEDs 0-6 run down the left flank and 7-13 down the right
# flank, front to back; 19 and 18 light the scroll wheel and 14-17 the palm strip,
# so the seven LED groups of the lighting effects form rows from front to back.
# ---------------------------------------------------------------------------
MS_W, MS_H = 210, 400
MS_CX = MS_W / 2
MS_OUTLINE = [  # right half of the shell as cubic Bezier segments, mirrored for the left half
    ((105, 16), (150, 16), (169, 40), (172, 92)),
    ((172, 92), (176, 156), (182, 232), (184, 292)),
    ((184, 292), (186, 352), (152, 388), (105, 388)),
]
MS_ROWS = [64 + 38 * g for g in range(7)]

def _bezier(p0, p1, p2, p3, t):
    return tuple((1 - t) ** 3 * a + 3 * (1 - t) ** 2 * t * b + 3 * (1 - t) * t ** 2 * c + t ** 3 * d
                 for a, b, c, d in zip(p0, p1, p2, p3))

def mouse_half_width(y):
    pts = [_bezier(*seg, i / 200) for seg in MS_OUTLINE for i in range(201)]
    best = min(pts, key=lambda p: abs(p[1] - y) if p[0] >= MS_CX else 1e9)
    return best[0] - MS_CX

def mouse_cells():
    cells = {}
    for g, y in enumerate(MS_ROWS):
        hw = mouse_half_width(y)
        cells[g] = (round(MS_CX - hw + 7), round(y - 14), 8, 28)          # left flank
        cells[7 + g] = (round(MS_CX + hw - 15), round(y - 14), 8, 28)     # right flank
    cells[19] = (round(MS_CX - 6), MS_ROWS[0] - 14, 12, 24)               # wheel, front half
    cells[18] = (round(MS_CX - 6), MS_ROWS[1] - 20, 12, 24)               # wheel, back half
    for i, g in zip((14, 15, 16, 17), (3, 4, 5, 6)):                      # palm strip
        cells[i] = (round(MS_CX - 5), MS_ROWS[g] - 14, 10, 28)
    return [(f"ms_dkey_{i}", cells[i], True) for i in range(20)]

# The six buttons, in picture coordinates (x, y, w, h): where a page can lay a clickable
# control over each one. The two main buttons are the halves of the shell's front, the
# wheel and the DPI button sit on the middle line, the two side buttons on the left flank.
MS_BUTTONS = {
    "left": (30, 24, 70, 120),
    "right": (110, 24, 70, 120),
    "middle": (round(MS_CX - 9), MS_ROWS[0] - 18, 18, 64),
    "dpi": (round(MS_CX - 7), MS_ROWS[2] - 8, 14, 18),
    "forward": (14, 150, 12, 34),
    "back": (14, 190, 12, 34),
}

def mouse_svg():
    right = " ".join(f"C {p1[0]},{p1[1]} {p2[0]},{p2[1]} {p3[0]},{p3[1]}" for _, p1, p2, p3 in MS_OUTLINE)
    def mirror(p):
        return (round(2 * MS_CX - p[0], 2), p[1])
    left = " ".join("C {},{} {},{} {},{}".format(*mirror(p2), *mirror(p1), *mirror(p0))
                    for p0, p1, p2, _ in reversed(MS_OUTLINE))
    shell = f"M {MS_OUTLINE[0][0][0]},{MS_OUTLINE[0][0][1]} {right} {left} Z"
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{MS_W}" height="{MS_H}" viewBox="0 0 {MS_W} {MS_H}">',
           '<defs><linearGradient id="shell" x1="0" y1="0" x2="1" y2="1">'
           '<stop offset="0" stop-color="#2a2f37"/><stop offset="1" stop-color="#16191e"/></linearGradient></defs>',
           f'<path d="{shell}" fill="url(#shell)" stroke="#3a404a" stroke-width="1.5"/>',
           f'<path d="M {MS_CX},17 L {MS_CX},150" stroke="#0d0f12" stroke-width="2"/>',
           f'<path d="M 37,150 Q {MS_CX},176 173,150" fill="none" stroke="#0d0f12" stroke-width="2"/>',
           f'<rect x="{MS_CX - 9}" y="{MS_ROWS[0] - 18}" width="18" height="64" rx="9" fill="#0d0f12" '
           'stroke="#3a404a"/>',
           f'<rect x="{MS_CX - 7}" y="{MS_ROWS[2] - 8}" width="14" height="18" rx="4" fill="#1b1e24" '
           'stroke="#3a404a"/>']
    for name in ("forward", "back"):
        x, y, w, h = MS_BUTTONS[name]
        out.append(f'<rect id="button_{name}" x="{x}" y="{y}" width="{w}" height="{h}" rx="4" '
                   'fill="#22262d" stroke="#4a515c" stroke-width="1.2"/>')
    for name, (x, y, w, h), _ in mouse_cells():
        if name in ("ms_dkey_18", "ms_dkey_19"):
            continue  # the wheel itself is the light guide
        out.append(f'<rect x="{x - 1}" y="{y - 1}" width="{w + 2}" height="{h + 2}" rx="{min(w, h) / 2 + 1}" '
                   'fill="#0b0c0f" stroke="#30353e"/>')
    out.append("</svg>")
    return "\n".join(out) + "\n"

# ---------------------------------------------------------------------------
# Mousepad: 15 LED zones along the edge. LED 0 sits on the left edge, 1-5 run
# along the front edge to the right, 6-10 up the right edge and 11-14 back along
# the rear edge; the middle of the front and rear edges (the cable housing) is dark,
# which matches the seven light columns of the pad's effects.
# ---------------------------------------------------------------------------
MP_W, MP_H = 600, 206
MP_EDGE_TOP, MP_EDGE_BOTTOM = 9, MP_H - 17

def mousepad_cells():
    horizontal = (54, 8)
    cells = {0: (9, 78, 8, 50)}
    for i, x in zip((1, 2, 3, 4, 5), (72, 162, 384, 458, 532)):          # front edge, left to right
        cells[i] = (x, MP_EDGE_BOTTOM, *horizontal)
    for k, i in enumerate((6, 7, 8, 9, 10)):                             # right edge, bottom to top
        cells[i] = (MP_W - 17, 152 - k * 30, 8, 24)
    for i, x in zip((11, 12, 13, 14), (495, 384, 162, 72)):              # rear edge, right to left
        cells[i] = (x, MP_EDGE_TOP, *horizontal)
    return [(f"mp_dkey_{i}", cells[i], True) for i in range(15)]

def mousepad_svg():
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{MP_W}" height="{MP_H}" viewBox="0 0 {MP_W} {MP_H}">',
           '<defs><linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="#23272e"/><stop offset="1" stop-color="#16181c"/></linearGradient>'
           '<radialGradient id="cloth" cx="0.5" cy="0.45" r="0.7">'
           '<stop offset="0" stop-color="#191c21"/><stop offset="1" stop-color="#111316"/></radialGradient></defs>',
           f'<rect x="4" y="4" width="{MP_W - 8}" height="{MP_H - 8}" rx="16" fill="url(#rim)" stroke="#353a44" '
           'stroke-width="1.5"/>',
           f'<rect x="22" y="22" width="{MP_W - 44}" height="{MP_H - 44}" rx="9" fill="#131519"/>',
           f'<rect x="22" y="22" width="{MP_W - 44}" height="{MP_H - 44}" rx="9" fill="url(#cloth)"/>',
           f'<rect x="{MP_W / 2 - 34}" y="2" width="68" height="20" rx="6" fill="#1b1e24" stroke="#353a44"/>',
           f'<text x="{MP_W / 2}" y="{MP_H / 2 + 9}" font-family="DejaVu Sans" font-size="26" font-weight="bold" '
           'fill="#1f2329" text-anchor="middle" letter-spacing="8">ORVANE</text>']
    for _, (x, y, w, h), _ in mousepad_cells():
        out.append(f'<rect x="{x - 1}" y="{y - 1}" width="{w + 2}" height="{h + 2}" rx="{min(w, h) / 2 + 1}" '
                   'fill="#0b0c0f" stroke="#30353e"/>')
    out.append("</svg>")
    return "\n".join(out) + "\n"

# ---------------------------------------------------------------------------
# main.ui editing
# ---------------------------------------------------------------------------
def _xml(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")

def _prop(parent, name, kind, value, stdset=True):
    p = ET.SubElement(parent, "property", {"name": name} if stdset else {"name": name, "stdset": "0"})
    if kind == "rect":
        r = ET.SubElement(p, "rect")
        for k, v in zip(("x", "y", "width", "height"), value):
            ET.SubElement(r, k).text = str(v)
    elif kind == "size":
        s = ET.SubElement(p, "size")
        ET.SubElement(s, "width").text = str(value[0])
        ET.SubElement(s, "height").text = str(value[1])
    else:
        ET.SubElement(p, kind).text = value

def fill_frame(tree_root, frame_name, size, cells, widget_class):
    frame = next((w for w in tree_root.iter("widget") if w.get("name") == frame_name), None)
    if frame is None:
        sys.exit(f"gen_skin: frame {frame_name!r} not found in main.ui")
    for child in list(frame):
        if child.tag == "widget" or (child.tag == "property" and child.get("name") in ("minimumSize", "maximumSize")):
            frame.remove(child)
    insert_at = 0
    for i, child in enumerate(list(frame)):
        if child.tag == "property":
            insert_at = i + 1
    for k, name in enumerate(("maximumSize", "minimumSize")):
        p = ET.Element("property", {"name": name})
        s = ET.SubElement(p, "size")
        ET.SubElement(s, "width").text = str(size[0])
        ET.SubElement(s, "height").text = str(size[1])
        frame.insert(insert_at, p)
    for name, rect, visible, *legend in cells:
        w = ET.SubElement(frame, "widget", {"class": widget_class, "name": name})
        _prop(w, "geometry", "rect", rect)
        if not visible:
            _prop(w, "visible", "bool", "false")
        if widget_class == "QPushButton":
            _prop(w, "focusPolicy", "enum", "Qt::NoFocus")
            _prop(w, "cursor", "cursorShape", "PointingHandCursor")
        _prop(w, "class", "string", "dkey", stdset=False)
        if legend and legend[0]:
            # Drawn by the lighting preview over a lit key, which hides the picture's legend.
            _prop(w, "legend", "string", legend[0], stdset=False)

def render_main_ui():
    path = SKIN / "main.ui"
    parser = ET.XMLParser(target=ET.TreeBuilder(insert_comments=True))
    tree = ET.parse(path, parser=parser)
    root = tree.getroot()
    fill_frame(root, "kb_lighting_picture", (KB_W, KB_H), keyboard_cells(), "QPushButton")
    fill_frame(root, "ms_lighting_picture", (MS_W, MS_H), mouse_cells(), "QLabel")
    fill_frame(root, "mp_lighting_picture", (MP_W, MP_H), mousepad_cells(), "QLabel")
    ET.indent(tree, space=" ")
    head = path.read_text(encoding="utf-8").split("<ui", 1)[0]
    return head + ET.tostring(root, encoding="unicode") + "\n"

def outputs():
    return {
        SKIN / "images" / "keyboard.svg": keyboard_svg(),
        SKIN / "images" / "mouse.svg": mouse_svg(),
        SKIN / "images" / "mousepad.svg": mousepad_svg(),
        SKIN / "main.ui": render_main_ui(),
    }

def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for path, text in outputs().items():
        old = path.read_text(encoding="utf-8") if path.exists() else None
        if old != text:
            stale.append(path)
            if not check:
                path.write_text(text, encoding="utf-8")
    if check and stale:
        print("gen_skin: out of date: " + ", ".join(str(p.relative_to(SKIN.parent)) for p in stale))
        return 1
    if not check:
        print(f"gen_skin: {len(stale)} file(s) written")
    return 0

if __name__ == "__main__":
    sys.exit(main())
