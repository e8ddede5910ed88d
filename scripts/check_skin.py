#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Check the skin folder for the mistakes that only show at run time.

- every XML file parses; every file named in res.xml and every image in style.qss exists;
- the four language files hold the same ids, none empty or twice, with the same number of
  "%d" placeholders per id, and every message-box id the program shows;
- every "textId"/"tipId" of the layouts and the menu has a text;
- the controls the program looks up exist in main.ui and msg.ui, the names of the main
  window (with its sub-layouts) are unique regardless of case, and the layouts use only
  standard Qt widget classes (custom controls are placeholders with a "customClass");
- the generated pictures and preview controls are up to date (scripts/gen_skin.py --check),
  and so are the key pages' layouts (scripts/gen_key_pages.py --check).

Usage: scripts/check_skin.py [skin folder]; exit status 1 when something is wrong.
"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
from collections import Counter
from pathlib import Path

HERE = Path(__file__).resolve().parent
SKIN = Path(sys.argv[1]) if len(sys.argv) > 1 else HERE.parent / "skin"

LANGUAGE_FILES = ["lan_en.xml", "lan_cn.xml", "lan_sn.xml", "lan_jp.xml"]
MESSAGE_IDS = [f"message_text_{n}" for n in (*range(1, 10), *range(11, 22), *range(30, 37))] + [
    "message_macro_name_invalid", "message_macro_write_failed", "message_macro_too_long",
    "message_macro_files_damaged", "message_macro_upload_failed", "message_cursor_too_large",
    "message_cursor_write_failed", "message_cursor_file_missing"]
PAGE_TABLE = HERE.parent / "src" / "ui" / "pages" / "page_table.h"
PREFIX = {"Keyboard": "kb", "Mouse": "ms", "Mousepad": "mp"}

def page_rows():
    """The page table's rows: (name, device prefix or None, option, placeholder, layout)."""
    text = PAGE_TABLE.read_text(encoding="utf-8")
    row = re.compile(r'\{"([^"]+)",\s*(?:device::DeviceKind::(\w+)|std::nullopt),\s*(nullptr|"[^"]*"),'
                     r'\s*(nullptr|"[^"]*"),\s*(nullptr|"[^"]*")')
    value = lambda v: None if v == "nullptr" else v.strip('"')
    return [(m[1], PREFIX.get(m[2]), value(m[3]), value(m[4]), value(m[5])) for m in row.finditer(text)]

def layout_file(resource):
    """The file a layout's resource id names in res.xml, else "<base>.ui" (as the loader does)."""
    try:
        for r in ET.parse(SKIN / "res.xml").getroot().iter("Res"):
            if r.get("id") == resource:
                return r.get("file")
    except (OSError, ET.ParseError):
        pass  # reported by check_files
    return resource.rsplit(".", 1)[0] + ".ui"

PAGES = page_rows()
SUB_LAYOUTS = {placeholder: layout_file(layout) for _, _, _, placeholder, layout in PAGES if placeholder and layout}
MAIN_CONTROLS = (
    ["root", "closebtn", "minbtn", "maxbtn", "restorebtn", "skinbtn", "setbtn", "menubtn",
     "kb_tab", "kb_onecolor_tab", "ms_tab", "mp_tab", "ani_tab", "split_tab", "tab_switch",
     "kb_tab_panel", "ms_tab_panel", "kb_tab_switch", "ms_tab_switch",
     "setting_progress", "str_test"]
    + [option for _, _, option, _, _ in PAGES if option]
    + list(SUB_LAYOUTS)
    + [f"ms_dkey_{i}" for i in range(20)] + [f"mp_dkey_{i}" for i in range(15)]
    + [f"kb_dkey_{i}" for i in range(126)]
)
MSG_CONTROLS = ["MessageText", "MessageTitle", "confirm_btn", "cancel_btn", "closebtn"]
STACK_PAGES = {  # stacked widget -> (page index, placeholder or panel on that page)
    "tab_switch": [(0, "kb_tab_panel"), (1, "ms_tab_panel"), (2, "mp_tab_panel"), (3, "ani_tab_panel"),
                   (4, "split_tab_panel")],
}
# A sub-page's placeholder lies on a page of its device's page switch (which page is free).
SUB_PAGE_STACKS = [(f"{prefix}_tab_switch", placeholder) for _, prefix, option, placeholder, _ in PAGES
                   if prefix and option and placeholder]
STANDARD_CLASSES = {
    "QWidget", "QFrame", "QLabel", "QPushButton", "QToolButton", "QCheckBox", "QRadioButton", "QComboBox",
    "QSlider", "QLineEdit", "QStackedWidget", "QTabWidget", "QListWidget", "QTableWidget", "QTreeWidget",
    "QSpinBox", "QScrollArea", "QGroupBox", "QPlainTextEdit", "QTextEdit", "QProgressBar", "QScrollBar",
    "QListView", "QTableView",
}

problems = []

def problem(text):
    problems.append(text)

def parse(name):
    try:
        return ET.parse(SKIN / name).getroot()
    except (ET.ParseError, OSError) as e:
        problem(f"{name}: {e}")
        return None

def widgets(root):
    return [] if root is None else list(root.iter("widget"))

def dynamic(w, name):
    for p in w.findall("property"):
        if p.get("name") == name:
            return p.findtext("string")
    return None

def check_languages():
    texts = {}
    for name in LANGUAGE_FILES:
        root = parse(name)
        if root is None:
            continue
        ids = [t.get("id") for t in root.iter("Text")]
        for dup, n in Counter(ids).items():
            if n > 1:
                problem(f"{name}: id {dup} appears {n} times")
        texts[name] = {t.get("id"): (t.text or "") for t in root.iter("Text")}
        for tid, text in texts[name].items():
            if not text.strip():
                problem(f"{name}: {tid} is empty")
    if not texts:
        return set()
    reference = texts.get("lan_en.xml") or next(iter(texts.values()))
    for name, table in texts.items():
        for tid in sorted(set(reference) - set(table)):
            problem(f"{name}: missing {tid}")
        for tid in sorted(set(table) - set(reference)):
            problem(f"{name}: {tid} is not in the other languages")
        for tid in set(table) & set(reference):
            if table[tid].count("%d") != reference[tid].count("%d"):
                problem(f"{name}: {tid} has {table[tid].count('%d')} '%d', English has {reference[tid].count('%d')}")
    for tid in MESSAGE_IDS:
        if tid not in reference:
            problem(f"language files: missing {tid}")
    return set.intersection(*(set(t) for t in texts.values()))

def check_texts(known, roots):
    for name, root in roots.items():
        if root is None:
            continue
        for w in root.iter():
            items = (dynamic(w, "itemTextIds") or "").split(",")
            for tid in [dynamic(w, "textId"), dynamic(w, "tipId"), w.get("textId")] + [i.strip() for i in items]:
                if tid and tid not in known:
                    problem(f"{name}: text id {tid} has no text in the language files")

def check_main(main, subs):
    names = [w.get("name") for w in widgets(main)]
    for f in sorted(set(SUB_LAYOUTS.values())):
        copies = list(SUB_LAYOUTS.values()).count(f)
        names += [w.get("name") for w in widgets(subs.get(f))] * (1 if copies == 1 else 0)
    lower = Counter(n.lower() for n in names)
    for n, count in lower.items():
        if count > 1:
            problem(f"main window: control name {n} is used {count} times")
    present = {n.lower() for n in names}
    for n in MAIN_CONTROLS:
        if n.lower() not in present:
            problem(f"main.ui: control {n} is missing")
    by_name = {w.get("name"): w for w in widgets(main)}
    progress = by_name.get("setting_progress")
    if progress is not None and dynamic(progress, "customClass") != "CCircleProgressUI":
        problem("main.ui: setting_progress needs customClass CCircleProgressUI")
    for placeholder in SUB_LAYOUTS:
        w = by_name.get(placeholder)
        if w is not None and (w.find("layout") is not None or w.find("widget") is not None):
            problem(f"main.ui: placeholder {placeholder} must be empty")
    for stack, pages in STACK_PAGES.items():
        w = by_name.get(stack)
        if w is None:
            continue
        page_widgets = w.findall("widget")
        for index, inner in pages:
            if index >= len(page_widgets) or inner not in {x.get("name") for x in page_widgets[index].iter("widget")}:
                problem(f"main.ui: page {index} of {stack} should hold {inner}")
    for stack, placeholder in SUB_PAGE_STACKS:
        w = by_name.get(stack)
        if w is None or not any(placeholder in {x.get("name") for x in page.iter("widget")} for page in w.findall("widget")):
            problem(f"main.ui: a page of {stack} should hold {placeholder}")

def check_classes(roots):
    for name, root in roots.items():
        for w in widgets(root):
            if w.get("class") not in STANDARD_CLASSES:
                problem(f"{name}: {w.get('name')} uses the non-standard class {w.get('class')}")

def check_files():
    res = parse("res.xml")
    for r in [] if res is None else res.iter("Res"):
        if not (SKIN / r.get("file", "")).is_file():
            problem(f"res.xml: {r.get('id')} names a missing file {r.get('file')}")
    qss = (SKIN / "style.qss").read_text(encoding="utf-8") if (SKIN / "style.qss").is_file() else ""
    if not qss:
        problem("style.qss is missing or empty")
    qss = re.sub(r"/\*.*?\*/", "", qss, flags=re.S)
    for url in re.findall(r"url\(\s*[\"']?([^\"')]+)", qss):
        if not (SKIN / url).is_file():
            problem(f"style.qss: image {url} is missing")

def main():
    check_files()
    known = check_languages()
    layouts = {p.name: parse(p.name) for p in sorted(SKIN.glob("*.ui"))}
    subs = {f: layouts.get(f) for f in set(SUB_LAYOUTS.values())}
    for f, root in subs.items():
        if root is None and f not in layouts:
            problem(f"sub-layout {f} is missing")
    check_main(layouts.get("main.ui"), subs)
    msg_names = {w.get("name") for w in widgets(layouts.get("msg.ui"))}
    for n in MSG_CONTROLS:
        if n not in msg_names:
            problem(f"msg.ui: control {n} is missing")
    check_classes(layouts)
    check_texts(known, {**layouts, "menu.xml": parse("menu.xml")})
    if SKIN == HERE.parent / "skin":
        for script in ("gen_skin.py", "gen_key_pages.py"):
            gen = subprocess.run([sys.executable, str(HERE / script), "--check"], capture_output=True, text=True)
            if gen.returncode != 0:
                problem(gen.stdout.strip() or gen.stderr.strip())
    for p in problems:
        print("check_skin: " + p)
    print(f"check_skin: {'FAILED, ' + str(len(problems)) + ' problem(s)' if problems else 'ok'}")
    return 1 if problems else 0

if __name__ == "__main__":
    sys.exit(main())
