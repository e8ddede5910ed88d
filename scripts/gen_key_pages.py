#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generate the two key-assignment layouts of the skin and the mouse button pictures.

Writes skin/keyboard_key.ui (the keyboard picture with one button "kb_key_N" over every key
the drawn board has, at the key positions of scripts/gen_skin.py, a strip under it with a key
cap for each regional key the ANSI board lacks, and the function editor "kb_tab_function"), skin/Mouse_key.ui (the six buttons "ms_key_N" with their pictures
"ms_key_N_0" and the editor "ms_tab_function") and skin/images/ms/key_*_{normal,down}.svg.

Usage: scripts/gen_key_pages.py [--check]   (--check: exit 1 when the files would change)
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import gen_skin  # noqa: E402  the keyboard picture and its key positions
import mouse_button_art as art  # noqa: E402  the mouse drawing of the button page

SKIN = gen_skin.SKIN

# ---------------------------------------------------------------------------------------
# XML helpers
# ---------------------------------------------------------------------------------------

def prop(parent, name, kind, value, stdset=True):
    return gen_skin._prop(parent, name, kind, value if kind in ("rect", "size") else str(value), stdset)

def widget(parent, cls, name, text=None, text_id=None, klass=None, tip_id=None, hidden=False):
    holder = parent if parent.tag in ("widget", "ui") else ET.SubElement(parent, "item")
    w = ET.SubElement(holder, "widget", {"class": cls, "name": name})
    if text is not None:
        prop(w, "text", "string", text)
    if text_id:
        prop(w, "textId", "string", text_id, stdset=False)
    if tip_id:
        prop(w, "tipId", "string", tip_id, stdset=False)
    if klass:
        prop(w, "class", "string", klass, stdset=False)
    if hidden:
        prop(w, "visible", "bool", "false")
    return w

def layout(w, cls, name, spacing=6, margins=(0, 0, 0, 0)):
    lay = ET.SubElement(w, "layout", {"class": cls, "name": name})
    prop(lay, "spacing", "number", spacing)
    for side, m in zip(("leftMargin", "topMargin", "rightMargin", "bottomMargin"), margins):
        prop(lay, side, "number", m)
    return lay

def spacer(lay, name, horizontal=True):
    item = ET.SubElement(lay, "item")
    s = ET.SubElement(item, "spacer", {"name": name})
    prop(s, "orientation", "enum", "Qt::Horizontal" if horizontal else "Qt::Vertical")
    prop(s, "sizeHint", "size", (0, 0))

def combo(lay, name, item_ids=(), width=170):
    w = widget(lay, "QComboBox", name)
    prop(w, "minimumSize", "size", (width, 0))
    prop(w, "focusPolicy", "enum", "Qt::StrongFocus")
    for tid in item_ids:
        item = ET.SubElement(w, "item")
        prop(item, "text", "string", ENGLISH.get(tid, tid))
    if item_ids:
        prop(w, "itemTextIds", "string", ",".join(item_ids), stdset=False)
    return w

def edit(lay, name, read_only=False, width=64):
    w = widget(lay, "QLineEdit", name)
    prop(w, "minimumSize", "size", (width, 0))
    prop(w, "maximumSize", "size", (width if not read_only else 16777215, 16777215))
    if read_only:
        prop(w, "readOnly", "bool", "true")
    else:
        prop(w, "text", "string", "0")
        prop(w, "maxLength", "number", 4)
    return w

def caption(lay, name, text_id):
    return widget(lay, "QLabel", name, ENGLISH[text_id], text_id, klass="field")

def english_texts():
    root = ET.parse(SKIN / "lan_en.xml").getroot()
    return {t.get("id"): t.text for t in root.iter("Text")}

ENGLISH = english_texts()

# ---------------------------------------------------------------------------------------
# The category panels, shared by both pages (in each page's item order)
# ---------------------------------------------------------------------------------------
MOUSE_BUTTONS = ["mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back"]
MEDIA = ["media_text", "media_play", "media_stop", "media_prev", "media_next", "media_vol_sub", "media_vol_add",
         "media_mute", "web_text", "web_refresh", "wed_stop", "wed_back", "wed_forward", "wed_favorite",
         "web_search", "media_mypc", "media_calc", "media_mail"]
PLAY_MODES = ["macro_play_mode_1", "macro_play_mode_2", "macro_play_mode_3", "macro_play_mode_4",
              "macro_play_repeat"]

GRID_COLUMNS = 2  # fields per row where a panel is a grid (a narrow editor)

def field_row(lay, p, rows):
    """rows: (caption id, control maker) pairs laid out as caption above control, side by side
    (in rows of GRID_COLUMNS when the panel's layout is a grid)."""
    grid = lay.get("class") == "QGridLayout"
    for n, (text_id, make) in enumerate(rows):
        col = widget(lay, "QWidget", f"{p}_field_{text_id}")
        if grid:
            lay[-1].attrib.update(row=str(n // GRID_COLUMNS), column=str(n % GRID_COLUMNS))
        c = layout(col, "QVBoxLayout", f"{p}_field_{text_id}_layout", spacing=4)
        caption(c, f"{p}_caption_{text_id}", text_id)
        make(c)
        spacer(c, f"{p}_field_{text_id}_end", horizontal=False)  # the columns' tops in line
    spacer(lay, f"{p}_fields_end")
    if grid:
        lay[-1].attrib.update(row="0", column=str(GRID_COLUMNS))

PANELS = {
    "default": lambda lay, p, tab: field_row(lay, tab, [("keypage_default_text", lambda c: None)]),
    "keyboard": lambda lay, p, tab: field_row(lay, tab, [("keypage_capture_text",
                                                            lambda c: edit(c, f"{p}_fct_edit_21", True, 190))]),
    "mouse": lambda lay, p, tab: field_row(lay, tab, [("keypage_mouse_text",
                                                         lambda c: combo(c, f"{p}_fct_combo_11", MOUSE_BUTTONS))]),
    "hscroll": lambda lay, p, tab: field_row(lay, tab, [
        ("keypage_direction_text", lambda c: combo(c, f"{p}_fct_combo_12", ["mouse_key_left_Swing",
                                                                           "mouse_key_right_Swing"], 130)),
        ("keypage_amount_text", lambda c: edit(c, f"{p}_fct_edit_15")),
        ("keypage_param_high_text", lambda c: edit(c, f"{p}_fct_edit_17")),
        ("keypage_param_low_text", lambda c: edit(c, f"{p}_fct_edit_20"))]),
    "vscroll": lambda lay, p, tab: field_row(lay, tab, [
        ("keypage_direction_text", lambda c: combo(c, f"{p}_fct_combo_13", ["mouse_key_up_Swing",
                                                                           "mouse_key_down_Swing"], 130)),
        ("keypage_amount_text", lambda c: edit(c, f"{p}_fct_edit_16")),
        ("keypage_param_high_text", lambda c: edit(c, f"{p}_fct_edit_18")),
        ("keypage_param_low_text", lambda c: edit(c, f"{p}_fct_edit_19"))]),
    "dpi": lambda lay, p, tab: field_row(lay, tab, [("keypage_dpi_text", lambda c: combo(
        c, f"{p}_fct_combo_14", ["mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_loop"]))]),
    "fire": lambda lay, p, tab: field_row(lay, tab, [
        ("keypage_fire_first_text", lambda c: edit(c, f"{p}_fct_edit_11")),
        ("keypage_fire_second_text", lambda c: edit(c, f"{p}_fct_edit_12"))]),
    "media": lambda lay, p, tab: field_row(lay, tab, [("keypage_media_text",
                                                         lambda c: combo(c, f"{p}_fct_combo_21", MEDIA))]),
    "system": lambda lay, p, tab: field_row(lay, tab, [("keypage_system_text", lambda c: combo(
        c, f"{p}_fct_combo_22", ["system_power", "system_sleep", "system_wake_up"]))]),
    "cursor": lambda lay, p, tab: field_row(lay, tab, [("keypage_cursor_text", lambda c: combo(
        c, f"{p}_fct_combo_25", ["GUN_1", "GUN_2", "GUN_3", "GUN_4"]))]),
}

def macro_panel(lay, p, tab):
    def repeat(c):
        base = tab.rsplit("_", 1)[0]  # "kb_tab_function": the repeat panel is its "_26"
        w = widget(c, "QWidget", f"{base}_26", hidden=True)
        r = layout(w, "QVBoxLayout", f"{base}_26_layout", spacing=4)
        caption(r, f"{base}_26_caption", "keypage_repeat_text")
        edit(r, f"{p}_fct_edit_25")
    def mode(c):
        combo(c, f"{p}_fct_combo_24", PLAY_MODES, 220)
        repeat(c)  # the repeat count shows under the play mode
    field_row(lay, tab, [("keypage_macro_text", lambda c: combo(c, f"{p}_fct_combo_23", (), 150)),
                         ("keypage_mode_text", mode)])

PANELS["macro"] = macro_panel

CATEGORY_IDS = {"default": "key_category_default", "keyboard": "key_category_keyboard",
                "mouse": "key_category_mouse", "hscroll": "key_category_hscroll", "vscroll": "key_category_vscroll",
                "dpi": "key_category_dpi", "fire": "key_category_fire", "media": "key_category_media",
                "system": "key_category_system", "macro": "key_category_macro", "cursor": "key_category_cursor"}
KEYBOARD_ORDER = ["default", "keyboard", "mouse", "hscroll", "vscroll", "dpi", "fire", "media", "system", "macro"]
MOUSE_ORDER = ["default", "mouse", "hscroll", "vscroll", "dpi", "fire", "keyboard", "media", "system", "macro",
               "cursor"]

def button_row(parent_lay, name, buttons, lead=None):
    """The page's buttons, outside the editor frame: Apply works with the editor hidden."""
    row = ET.SubElement(ET.SubElement(parent_lay, "item"), "layout", {"class": "QHBoxLayout", "name": name})
    prop(row, "spacing", "number", 8)
    if lead:
        lead(row)
    spacer(row, f"{name}_spacer")
    for text, text_id, bname, klass in buttons:
        b = widget(row, "QPushButton", bname, text, text_id, klass=klass)
        prop(b, "focusPolicy", "enum", "Qt::NoFocus")

def editor(parent_lay, p, tab, order, panel_layout="QHBoxLayout"):
    """The editor frame: the category and its panels (panel_layout "QGridLayout": the fields
    wrap)."""
    frame = widget(parent_lay, "QFrame", tab, klass="key_editor", hidden=True)
    v = layout(frame, "QVBoxLayout", f"{tab}_layout", spacing=8, margins=(0, 0, 0, 0))
    head = ET.SubElement(ET.SubElement(v, "item"), "layout", {"class": "QHBoxLayout", "name": f"{tab}_head"})
    prop(head, "spacing", "number", 8)
    caption(head, f"{tab}_category_caption", "keypage_category_text")
    combo(head, f"{p}_fct_combo", [CATEGORY_IDS[c] for c in order], 190)
    spacer(head, f"{tab}_head_end")
    for n, category in enumerate(order):
        panel = widget(v, "QWidget", f"{tab}_{n}", hidden=n != 0)
        lay = layout(panel, panel_layout, f"{tab}_{n}_layout", spacing=12)
        PANELS[category](lay, p, f"{tab}_{n}")
    spacer(v, f"{tab}_end", horizontal=False)
    return frame

def write_ui(path, root_widget_name, root):
    ui = ET.Element("ui", {"version": "4.0"})
    ET.SubElement(ui, "class").text = root_widget_name
    ui.append(root)
    ET.indent(ui, space=" ")
    return '<?xml version="1.0" encoding="UTF-8"?>\n' + COMMENTS[path] + ET.tostring(ui, encoding="unicode") + "\n"

COMMENTS = {
    "keyboard_key.ui": "<!-- Keyboard key assignment page, generated by scripts/gen_key_pages.py: the keyboard "
                       "picture with one button per key position, the function editor below. -->\n",
    "Mouse_key.ui": "<!-- Mouse button assignment page, generated by scripts/gen_key_pages.py: the six buttons "
                    "with their pictures on the left, the function editor on the right. -->\n",
}

# ---------------------------------------------------------------------------------------
# Keyboard page
# ---------------------------------------------------------------------------------------

# Keys of the board whose own code has no entry in the key list: named for their tooltip.
UNLISTED = {102: "kb_key_iso_name_text", 110: "kb_key_fn_name_text"}
# The keys of the position table the drawn ANSI board has no place for, in position order:
# position -> (legend text id, name text id for the tooltip). They sit as key caps on a strip
# under the picture, named like the keys on it ("kb_key_" + position).
REGIONAL_KEYS = {
    55: ("kb_key_legend_yen_text", "keyboard_key_K14"),
    80: ("kb_key_legend_ro_text", "keyboard_key_K56"),
    102: ("kb_key_legend_iso_text", UNLISTED[102]),
    120: ("kb_key_legend_hanja_text", "keyboard_key_KL"),
    121: ("kb_key_legend_hanyeong_text", "keyboard_key_KR"),
}
assert sorted(REGIONAL_KEYS) == [pos for pos, kid in enumerate(gen_skin.POSITIONS)
                                 if kid is not None and kid not in gen_skin.ANSI]
CAP_H = gen_skin.KEY_UNIT - 3
STRIP_MARGIN = 5

def regional_strip(parent_lay):
    """A strip as wide as the picture, its caption and one key cap per regional key."""
    row = ET.SubElement(ET.SubElement(parent_lay, "item"), "layout",
                        {"class": "QHBoxLayout", "name": "kb_key_regional_row"})
    prop(row, "spacing", "number", 0)
    spacer(row, "kb_key_regional_left")
    strip = widget(row, "QFrame", "kb_key_regional", klass="kb_key_strip")
    # A fixed height: the caps whole, and the page's spare room goes below.
    prop(strip, "minimumSize", "size", (gen_skin.KB_W, CAP_H + 2 * STRIP_MARGIN + 2))
    prop(strip, "maximumSize", "size", (gen_skin.KB_W, CAP_H + 2 * STRIP_MARGIN + 2))
    h = layout(strip, "QHBoxLayout", "kb_key_regional_layout", spacing=6,
               margins=(gen_skin.KB_PAD, STRIP_MARGIN, gen_skin.KB_PAD, STRIP_MARGIN))
    widget(h, "QLabel", "kb_key_regional_caption", ENGLISH["kb_key_regional_text"], "kb_key_regional_text",
           klass="kb_key_strip_caption")
    for pos, (legend_id, name_id) in REGIONAL_KEYS.items():
        b = widget(h, "QPushButton", f"kb_key_{pos}", ENGLISH[legend_id], legend_id, klass="kb_key_cap",
                   tip_id=name_id)
        prop(b, "nameId", "string", name_id, stdset=False)
        prop(b, "minimumSize", "size", (round(1.5 * gen_skin.KEY_UNIT), CAP_H))
        prop(b, "maximumSize", "size", (16777215, CAP_H))
        prop(b, "focusPolicy", "enum", "Qt::NoFocus")
    spacer(h, "kb_key_regional_end")
    spacer(row, "kb_key_regional_right")

def keyboard_ui():
    root = ET.Element("widget", {"class": "QWidget", "name": "keyboard_key_ui"})
    prop(root, "geometry", "rect", (0, 0, 768, 420))
    v = layout(root, "QVBoxLayout", "keyboard_key_layout", spacing=8)
    row = ET.SubElement(ET.SubElement(v, "item"), "layout", {"class": "QHBoxLayout", "name": "kb_key_picture_row"})
    prop(row, "spacing", "number", 0)
    spacer(row, "kb_key_picture_left")
    pic = widget(row, "QFrame", "kb_key_picture", klass="device_picture")
    prop(pic, "minimumSize", "size", (gen_skin.KB_W, gen_skin.KB_H))
    prop(pic, "maximumSize", "size", (gen_skin.KB_W, gen_skin.KB_H))
    for pos, kid in enumerate(gen_skin.POSITIONS):
        if pos in REGIONAL_KEYS:
            continue  # on the strip under the picture
        drawn = kid is not None and kid in gen_skin.ANSI
        rect = gen_skin.key_rect(kid, 2.5) if drawn else (0, 0, 0, 0)
        b = widget(pic, "QPushButton", f"kb_key_{pos}", klass="kb_key", hidden=not drawn, tip_id=UNLISTED.get(pos))
        if pos in UNLISTED:
            prop(b, "nameId", "string", UNLISTED[pos], stdset=False)
        prop(b, "geometry", "rect", tuple(round(x) for x in rect))
        prop(b, "focusPolicy", "enum", "Qt::NoFocus")
    spacer(row, "kb_key_picture_right")
    regional_strip(v)
    panel = widget(v, "QFrame", "kb_key_function", klass="panel")
    # As tall as the editor it shows: a larger window leaves the room below it empty.
    policy = ET.SubElement(ET.SubElement(panel, "property", {"name": "sizePolicy"}), "sizepolicy",
                           {"hsizetype": "Preferred", "vsizetype": "Maximum"})
    ET.SubElement(policy, "horstretch").text = "0"
    ET.SubElement(policy, "verstretch").text = "0"
    p = layout(panel, "QVBoxLayout", "kb_key_function_layout", spacing=8, margins=(14, 10, 14, 12))
    editor(p, "kb_key", "kb_tab_function", KEYBOARD_ORDER)
    button_row(p, "kb_key_buttons", [("Restore default", "keypage_default_btn_text", "kb_key_butt_keydefalut", None),
                                     ("Apply", "keypage_apply_btn_text", "kb_key_butt_prosave", "primary")],
               lambda row: widget(row, "QLabel", "kb_key_hint", ENGLISH["kb_key_hint_text"], "kb_key_hint_text",
                                  klass="hint"))
    spacer(v, "kb_key_rest", horizontal=False)
    return write_ui("keyboard_key.ui", "keyboard_key_ui", root)

# ---------------------------------------------------------------------------------------
# Mouse page and its button pictures
# ---------------------------------------------------------------------------------------
MOUSE_PICTURES = [b["picture"] for b in art.BUTTONS]
BUTTON_CAPTIONS = [f"keypage_button_{i}_text" for i in range(6)]

def geometry(w, rect):
    prop(w, "geometry", "rect", rect)
    prop(w, "minimumSize", "size", rect[2:])
    prop(w, "maximumSize", "size", rect[2:])

def mouse_picture(parent_lay):
    """The mouse drawing: a zone "ms_key_N_0" over each button (its highlight, clickable) and
    a callout beside the drawing with the button's caption and "ms_key_N", its function."""
    pic = widget(parent_lay, "QFrame", "ms_key_picture", klass="ms_key_drawing")
    prop(pic, "minimumSize", "size", (art.FRAME_W, art.FRAME_H))
    prop(pic, "maximumSize", "size", (art.FRAME_W, art.FRAME_H))
    for i, b in enumerate(art.BUTTONS):
        zone = widget(pic, "QPushButton", f"ms_key_{i}_0", klass="ms_key_zone", tip_id=BUTTON_CAPTIONS[i])
        geometry(zone, art.zone_rect(i))
        prop(zone, "focusPolicy", "enum", "Qt::NoFocus")
        prop(zone, "cursor", "cursorShape", "PointingHandCursor")
        prop(zone, "picture", "string", b["picture"], stdset=False)
    for i, b in enumerate(art.BUTTONS):
        callout = widget(pic, "QWidget", f"mouse_key_callout_{i}")
        geometry(callout, art.callout_rect(i))
        prop(callout, "side", "string", b["side"], stdset=False)
        c = layout(callout, "QVBoxLayout", f"mouse_key_callout_{i}_layout", spacing=0)
        cap = widget(c, "QLabel", f"mouse_key_callout_{i}_caption", ENGLISH[BUTTON_CAPTIONS[i]], BUTTON_CAPTIONS[i],
                     klass="callout_caption")
        prop(cap, "minimumSize", "size", (0, art.CALLOUT_CAPTION_H))
        prop(cap, "maximumSize", "size", (16777215, art.CALLOUT_CAPTION_H))
        if b["side"] == "left":
            prop(cap, "alignment", "set", "Qt::AlignRight|Qt::AlignVCenter")
        fn = widget(c, "QPushButton", f"ms_key_{i}", ENGLISH[MOUSE_BUTTON_DEFAULTS[i]], klass="key_callout")
        prop(fn, "side", "string", b["side"], stdset=False)
        prop(fn, "focusPolicy", "enum", "Qt::NoFocus")
        prop(fn, "minimumSize", "size", (0, art.CALLOUT_H - art.CALLOUT_CAPTION_H))
        prop(fn, "maximumSize", "size", (16777215, art.CALLOUT_H - art.CALLOUT_CAPTION_H))

def mouse_ui():
    root = ET.Element("widget", {"class": "QWidget", "name": "mouse_key_ui"})
    prop(root, "geometry", "rect", (0, 0, 768, 420))
    h = layout(root, "QHBoxLayout", "mouse_key_layout", spacing=10)
    buttons = widget(h, "QFrame", "mouse_key_buttons", klass="panel")
    b = layout(buttons, "QVBoxLayout", "mouse_key_buttons_layout", spacing=6, margins=(12, 10, 12, 12))
    widget(b, "QLabel", "mouse_key_buttons_caption", ENGLISH["section_buttons_text"], "section_buttons_text",
           klass="section")
    spacer(b, "mouse_key_picture_above", horizontal=False)
    mouse_picture(b)
    spacer(b, "mouse_key_buttons_end", horizontal=False)
    function = widget(h, "QFrame", "mouse_key_function", klass="panel")
    f = layout(function, "QVBoxLayout", "mouse_key_function_layout", spacing=8, margins=(14, 10, 14, 12))
    widget(f, "QLabel", "mouse_key_function_caption", ENGLISH["section_function_text"], "section_function_text",
           klass="section")
    hint = widget(f, "QLabel", "mouse_key_hint", ENGLISH["ms_key_hint_text"], "ms_key_hint_text", klass="hint")
    prop(hint, "wordWrap", "bool", "true")
    editor(f, "ms_key", "ms_tab_function", MOUSE_ORDER, "QGridLayout")  # beside the drawing: narrow
    spacer(f, "mouse_key_function_end", horizontal=False)  # the caption stays at the top
    button_row(f, "ms_key_buttons", [("Restore default", "keypage_default_btn_text", "ms_key_butt_keydefalut", None),
                                     ("Save", "keypage_save_btn_text", "ms_key_butt_keysave", None),
                                     ("Apply", "keypage_apply_btn_text", "ms_key_butt_prosave", "primary")])
    return write_ui("Mouse_key.ui", "mouse_key_ui", root)

MOUSE_BUTTON_DEFAULTS = ["mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward",
                         "mouse_key_back", "mouse_key_DPI_loop"]

def outputs():
    files = {SKIN / "keyboard_key.ui": keyboard_ui(), SKIN / "Mouse_key.ui": mouse_ui()}
    files[SKIN / "images" / "ms" / "buttons.svg"] = art.drawing_svg()
    for i, picture in enumerate(MOUSE_PICTURES):
        for state in ("normal", "down"):
            files[SKIN / "images" / "ms" / f"{picture}_{state}.svg"] = art.part_svg(i, state == "down")
    return files

def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for path, text in outputs().items():
        if path.is_file() and path.read_text(encoding="utf-8") == text:
            continue
        stale.append(path)
        if not check:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")
    if check and stale:
        print("out of date: " + ", ".join(str(p.relative_to(SKIN.parent)) for p in stale))
        return 1
    return 0

if __name__ == "__main__":
    sys.exit(main())
