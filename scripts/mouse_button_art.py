# SPDX-License-Identifier: GPL-3.0-or-later
"""The mouse drawing of the button page: one vector picture of the mouse with a leader line
from each of its six buttons to the place of that button's callout, and the highlight
shapes laid over each button.

Used by scripts/gen_key_pages.py. The shell is the outline of the lighting page's mouse
(scripts/gen_skin.py) without its light strips, so both pages show the same mouse.
Coordinates: "drawing" coordinates are those of gen_skin's 210 x 400 mouse; "frame"
coordinates are pixels of the page's picture frame, which holds the drawing scaled by
SCALE at (MOUSE_X, MOUSE_Y) with the callouts on both sides.
"""
import gen_skin

# The frame and where the drawing sits in it.
FRAME_W, FRAME_H = 396, 300
SCALE = 0.72
CROP_X, CROP_Y, CROP_W, CROP_H = 12, 12, 176, 380  # the drawn part of the 210 x 400 mouse
MOUSE_X = (FRAME_W - CROP_W * SCALE) / 2
MOUSE_Y = 14
# The pictures are written at twice their size so they stay sharp at scale factors up to 2.
OVERSAMPLE = 2

CALLOUT_W, CALLOUT_H = 125, 46
CALLOUT_CAPTION_H = 16   # the caption above the function's button
CALLOUT_LINE_Y = 32      # where the leader line meets the callout, from its top
ACCENT = "#e0323c"
LINE = "#6b7380"

# The six buttons in the device's order: 0 left, 1 wheel, 2 right, 3 forward, 4 back, 5 DPI.
# zone: the clickable rectangle in drawing coordinates (x, y, w, h): the zones tile the
# front of the shell without overlapping (the wheel and the DPI button share the band
# between the main buttons) and each button's highlight is drawn clipped to its zone;
# anchor: where the leader line starts; side and slot: the callout's column and row.
BUTTONS = [
    {"picture": "key_left", "zone": (30, 15, 66, 150), "anchor": (64, 78), "side": "left", "slot": 0},
    {"picture": "key_wheel", "zone": (96, 15, 18, 113), "anchor": (105, 96), "side": "right", "slot": 1},
    {"picture": "key_right", "zone": (114, 15, 66, 150), "anchor": (146, 62), "side": "right", "slot": 0},
    {"picture": "key_forward", "zone": (13, 149, 14, 36), "anchor": (20, 167), "side": "left", "slot": 1},
    {"picture": "key_back", "zone": (13, 189, 14, 36), "anchor": (20, 207), "side": "left", "slot": 2},
    {"picture": "key_dpi", "zone": (96, 128, 18, 37), "anchor": (105, 141), "side": "right", "slot": 2},
]
SLOT_TOPS = {"left": (30, 94, 150), "right": (18, 86, 154)}


def to_frame(x, y):
    return (MOUSE_X + (x - CROP_X) * SCALE, MOUSE_Y + (y - CROP_Y) * SCALE)


def zone_rect(button):
    """A zone in frame pixels; edges are rounded on their own so neighbours never overlap."""
    x, y, w, h = BUTTONS[button]["zone"]
    left, top = to_frame(x, y)
    right, bottom = to_frame(x + w, y + h)
    return (round(left), round(top), round(right) - round(left), round(bottom) - round(top))


def callout_rect(button):
    b = BUTTONS[button]
    x = 0 if b["side"] == "left" else FRAME_W - CALLOUT_W
    return (x, SLOT_TOPS[b["side"]][b["slot"]], CALLOUT_W, CALLOUT_H)


# ---------------------------------------------------------------------------------------
# Shapes, in drawing coordinates
# ---------------------------------------------------------------------------------------

def _outline_points(steps=48):
    """The shell's right half from the front centre to the back centre."""
    return [gen_skin._bezier(*seg, i / steps) for seg in gen_skin.MS_OUTLINE for i in range(steps + 1)]


def _divider(x):
    """The y of the line between the main buttons and the palm at x (a quadratic curve)."""
    # The curve runs from (37, 150) over (105, 176) to (173, 150): x is linear in t.
    t = min(max((x - 37) / 136, 0.0), 1.0)
    return (1 - t) ** 2 * 150 + 2 * (1 - t) * t * 176 + t ** 2 * 150


def main_button_points(right):
    """The left or right main button: the shell's front up to the divider, less the centre gap."""
    cx = gen_skin.MS_CX
    gap = 1.6
    pts = [(x, y) for x, y in _outline_points() if y <= _divider(x) and x > cx + gap]
    pts += [(x, _divider(x)) for x in range(int(pts[-1][0]), int(cx + gap), -4)]
    pts += [(cx + gap, _divider(cx + gap)), (cx + gap, 17.5)]
    if not right:
        pts = [(2 * cx - x, y) for x, y in pts]
    return pts


def _path(points):
    return "M " + " L ".join(f"{x:.1f},{y:.1f}" for x, y in points) + " Z"


WHEEL = (gen_skin.MS_CX - 9, 46, 18, 64, 9)
DPI = (gen_skin.MS_CX - 7, 132, 14, 18, 4)
SIDE = {"key_forward": (14, 150, 12, 34, 4), "key_back": (14, 190, 12, 34, 4)}


def _rect(r, attrs):
    x, y, w, h, rx = r
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{rx}" {attrs}/>'


def part_shape(picture, attrs):
    if picture in ("key_left", "key_right"):
        return f'<path d="{_path(main_button_points(picture == "key_right"))}" {attrs}/>'
    if picture == "key_wheel":
        return _rect(WHEEL, attrs)
    if picture == "key_dpi":
        return _rect(DPI, attrs)
    return _rect(SIDE[picture], attrs)


def _svg_head(w, h, view):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w * OVERSAMPLE:g}" height="{h * OVERSAMPLE:g}" '
            f'viewBox="{view}">')


# ---------------------------------------------------------------------------------------
# The pictures
# ---------------------------------------------------------------------------------------

def leader_points(button):
    """Anchor, knee and end of a button's leader line, in frame pixels."""
    b = BUTTONS[button]
    ax, ay = to_frame(*b["anchor"])
    cx, cy, cw, _ = callout_rect(button)
    end_y = cy + CALLOUT_LINE_Y
    end_x = cx + cw + 1 if b["side"] == "left" else cx - 1
    knee_x = end_x + 6 if b["side"] == "left" else end_x - 6
    return (ax, ay), (knee_x, end_y), (end_x, end_y)


def drawing_svg():
    """The frame's background: the mouse and the six leader lines."""
    cx = gen_skin.MS_CX
    shell = [f"{x:.1f},{y:.1f}" for x, y in _outline_points()]
    left = [f"{2 * cx - x:.1f},{y:.1f}" for x, y in reversed(_outline_points())]
    transform = f"translate({MOUSE_X:g},{MOUSE_Y:g}) scale({SCALE:g}) translate({-CROP_X},{-CROP_Y})"
    out = [_svg_head(FRAME_W, FRAME_H, f"0 0 {FRAME_W} {FRAME_H}"),
           '<defs><linearGradient id="shell" x1="0" y1="0" x2="1" y2="1">'
           '<stop offset="0" stop-color="#2a2f37"/><stop offset="1" stop-color="#16191e"/></linearGradient></defs>',
           f'<g transform="{transform}">',
           f'<path d="M {" L ".join(shell + left)} Z" fill="url(#shell)" stroke="#3a404a" stroke-width="1.5"/>',
           f'<path d="M {cx},17 L {cx},{_divider(cx):g}" stroke="#0d0f12" stroke-width="2"/>',
           f'<path d="M 37,150 Q {cx},176 173,150" fill="none" stroke="#0d0f12" stroke-width="2"/>',
           _rect(WHEEL, 'fill="#0d0f12" stroke="#3a404a"'),
           f'<path d="M {cx - 4},{WHEEL[1] + 8} L {cx + 4},{WHEEL[1] + 8} M {cx - 4},{WHEEL[1] + 20} '
           f'L {cx + 4},{WHEEL[1] + 20} M {cx - 4},{WHEEL[1] + 32} L {cx + 4},{WHEEL[1] + 32} '
           f'M {cx - 4},{WHEEL[1] + 44} L {cx + 4},{WHEEL[1] + 44} M {cx - 4},{WHEEL[1] + 56} '
           f'L {cx + 4},{WHEEL[1] + 56}" stroke="#2a2f37" stroke-width="2"/>',
           _rect(DPI, 'fill="#1b1e24" stroke="#3a404a"')]
    out += [_rect(r, 'fill="#22262d" stroke="#4a515c" stroke-width="1.2"') for r in SIDE.values()]
    out.append("</g>")
    out.append(f'<g fill="none" stroke="{LINE}" stroke-width="1">')
    for i in range(len(BUTTONS)):
        (ax, ay), (kx, ky), (ex, ey) = leader_points(i)
        out.append(f'<path d="M {ax:.1f},{ay:.1f} L {kx:.1f},{ky:.1f} L {ex:.1f},{ey:.1f}"/>')
    out.append("</g>")
    out.append(f'<g fill="{LINE}">')
    for i in range(len(BUTTONS)):
        (ax, ay), _, _ = leader_points(i)
        out.append(f'<circle cx="{ax:.1f}" cy="{ay:.1f}" r="2.2"/>')
    out += ["</g>", "</svg>"]
    return "\n".join(out) + "\n"


def part_svg(button, down):
    """The highlight laid over one button, the size of its zone: a faint outline at rest, the
    accent when the pointer is over it or it is the button being edited."""
    b = BUTTONS[button]
    x, y, w, h = b["zone"]
    if down:
        attrs = f'fill="{ACCENT}" fill-opacity="0.45" stroke="{ACCENT}" stroke-width="1.4"'
    else:
        attrs = 'fill="#ffffff" fill-opacity="0.03" stroke="#8a929e" stroke-opacity="0.55" stroke-width="1"'
    _, _, fw, fh = zone_rect(button)
    out = [_svg_head(fw, fh, f"{x} {y} {w} {h}").replace("<svg ", '<svg preserveAspectRatio="none" '),
           part_shape(b["picture"], attrs), "</svg>"]
    return "\n".join(out) + "\n"
