#!/usr/bin/python3
"""Checks with ezdxf the window tables that VxWinSunAna wrote into a drawing.

Usage: check_window_table.py RESULT.dxf SOURCE.dxf X1,Y1 X2,Y2 [X1,Y1 X2,Y2 ...]
The windows are the "_SUNWD" references of SOURCE whose insertion point lies inside one of the
rectangles (the script selected them with windows). The building of a window is the part of its
LABEL before "-". There must be one table per building, titled with it, stacked top to bottom in
building order. A table is sorted by window number, so its key column shows every window number
of its building once, and its floor column a floor or a range "lo～hi" per row; together the rows
must cover every window of the building exactly once. The note states how many windows miss the
minimum of 2 hours, which the tables' totals must confirm. No text of a table may cross a line
of its grid: widths are measured with fontTools from the font the pictures draw with.
Prints "OK" and exits 0, or prints what is wrong and exits 1.
"""
import re
import sys
from collections import defaultdict

import ezdxf
from fontTools.ttLib import TTCollection

FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
EM_PER_HEIGHT = 1 / 0.72  # a text's height is that of its capitals


class Font:
    def __init__(self, path):
        font = TTCollection(path).fonts[0]
        self.cmap = font.getBestCmap()
        self.hmtx = font["hmtx"]
        self.units = font["head"].unitsPerEm

    def width(self, text, height):
        units = 0
        for ch in text:
            glyph = self.cmap.get(ord(ch))
            # A glyph the font lacks comes from another font; count it a full em.
            units += self.hmtx[glyph][0] if glyph else self.units
        return units / self.units * EM_PER_HEIGHT * height


def tag(entity):
    return entity.get_xdata("SOLX_TYPE")[0][1] if entity.has_xdata("SOLX_TYPE") else ""


def selected_windows(path, rectangles):
    """building -> window number -> floors"""
    buildings = defaultdict(lambda: defaultdict(list))
    for w in ezdxf.readfile(path).modelspace().query('INSERT[name=="_SUNWD"]'):
        p = w.dxf.insert
        if any(min(a[0], b[0]) <= p.x <= max(a[0], b[0]) and min(a[1], b[1]) <= p.y <= max(a[1], b[1])
               for a, b in rectangles):
            building = w.get_attrib_text("LABEL").partition("-")[0]
            buildings[building][int(w.get_attrib_text("NUMBER"))].append(int(w.get_attrib_text("FLOOR")))
    return buildings


def floor_range(text):
    lo, _, hi = text.partition("～")
    return int(lo), int(hi or lo)


def minutes(clock):
    hours, _, mins = clock.partition(":")
    return int(hours) * 60 + int(mins)


def period_problems(texts):
    """Each row's counted periods (those without a trailing "*") add up to its total, and no
    period has zero length. Period lines belong to the row whose value cell is nearest."""
    headers = [t for t in texts if t.dxf.text == "日照时间"]
    values = [t for t in texts if t.dxf.text in ("总有效日照", "最长有效连照")]
    if not headers or len(values) != 1:
        return ["no period and value headers"]
    px = min(headers, key=lambda t: t.dxf.insert.y).dxf.insert.x
    vx = values[0].dxf.insert.x
    if values[0].dxf.text != "总有效日照":
        return []
    column = lambda x: [t for t in texts if abs(t.dxf.insert.x - x) < 1e-6 and t not in headers + values]
    totals = column(vx)
    rows = {id(t): [] for t in totals}
    for line in column(px):
        if line.dxf.text == "0":
            continue
        nearest = min(totals, key=lambda t: abs(t.dxf.insert.y - line.dxf.insert.y))
        rows[id(nearest)].append(line.dxf.text)
    found = []
    for total in totals:
        added = 0
        for period in rows[id(total)]:
            start, _, end = period.rstrip("*").partition("～")
            if minutes(end) <= minutes(start):
                found.append(f"empty period {period}")
            if not period.endswith("*"):
                added += minutes(end) - minutes(start)
        if added != minutes(total.dxf.text):
            found.append(f"periods {rows[id(total)]} add up to {added} min, total {total.dxf.text}")
    return found


def spill_problems(block, font):
    """Texts (centred on their alignment point) that cross a grid line, or the title that
    reaches past the table's sides."""
    lines = [e for e in block if e.dxftype() == "LINE"]
    texts = [e for e in block if e.dxftype() == "TEXT"]
    left = min(min(l.dxf.start.x, l.dxf.end.x) for l in lines)
    right = max(max(l.dxf.start.x, l.dxf.end.x) for l in lines)
    found = []
    for t in texts:
        h = t.dxf.height
        x, y = t.dxf.align_point.x, t.dxf.align_point.y
        half = font.width(t.dxf.text, h) * t.dxf.get("width", 1.0) / 2
        x0, x1, y0, y1 = x - half, x + half, y - 0.7 * h, y + 0.7 * h
        if x0 < left or x1 > right:
            found.append(f"{t.dxf.text!r} reaches past the table's sides")
        for l in lines:
            (ax, ay), (bx, by) = (l.dxf.start.x, l.dxf.start.y), (l.dxf.end.x, l.dxf.end.y)
            vertical_cut = ax == bx and x0 < ax < x1 and min(ay, by) < y < max(ay, by)
            horizontal_cut = ay == by and y0 < ay < y1 and min(ax, bx) < x < max(ax, bx)
            if vertical_cut or horizontal_cut:
                found.append(f"{t.dxf.text!r} at ({x:.2f},{y:.2f}) crosses a grid line")
                break
    return found


def table_problems(doc, sheet, windows, font):
    """The rows of one building's table against its windows; returns the problems and the
    number of windows whose total is below 2 hours."""
    block = doc.blocks[sheet.dxf.name]
    texts = [t for t in block if t.dxftype() == "TEXT"]
    found = []
    contents = {t.dxf.text for t in texts}
    for header in ("窗位", "层数", "窗台高(米)", "日照时间", "总有效日照"):
        if header not in contents:
            found.append(f"header {header} missing")
    if found:
        return found, 0
    # The key and floor columns stand under their headers.
    x_of = lambda s: next(t.dxf.align_point.x for t in texts if t.dxf.text == s)
    column = lambda x, head: [t for t in texts if abs(t.dxf.align_point.x - x) < 1e-6 and t.dxf.text != head]
    key_texts, floor_texts = column(x_of("窗位"), "窗位"), column(x_of("层数"), "层数")
    keys = [t.dxf.text for t in key_texts]
    if sorted(int(k) for k in keys) != sorted(windows):
        found.append(f"window numbers {keys} instead of {sorted(windows)}")
    rows = [t.dxf.text for t in floor_texts]
    covered = sum(hi - lo + 1 for lo, hi in map(floor_range, rows))
    total = sum(len(f) for f in windows.values())
    if covered != total:
        found.append(f"{len(rows)} rows cover {covered} windows of {total}")
    found += period_problems(texts)
    found += spill_problems(block, font)
    if len(sheet.get_xdata("SOLX_TYPE")) < 2 or sheet.get_xdata("SOLX_TYPE")[1][1] != len(rows) + 2:
        found.append("the table's row count is not the data rows and two header rows")
    # Windows below 2:00: each row's total counts for the floors the row covers.
    vx = x_of("总有效日照")
    missing = 0
    for f in floor_texts:
        value = min(column(vx, "总有效日照"), key=lambda t: abs(t.dxf.align_point.y - f.dxf.align_point.y))
        if minutes(value.dxf.text) < 120:
            lo, hi = floor_range(f.dxf.text)
            missing += hi - lo + 1
    return found, missing


def building_key(name):
    return (0, int(name)) if name.isdigit() else (1, name)


def problems(result, source, rectangles):
    doc = ezdxf.readfile(result)
    msp = doc.modelspace()
    font = Font(FONT)
    found = []
    notes = [e for e in msp.query("TEXT") if tag(e) == "VXDB_TEXT"]
    if len(notes) != 1 or "地点" not in notes[0].dxf.text:
        return [f"{len(notes)} note texts"]
    note = notes[0].dxf.text
    if "最少日照时间：2:00" not in note:
        found.append("the note does not state the minimum of 2 hours the script chose")
    buildings = selected_windows(source, rectangles)
    sheets = [e for e in msp.query("INSERT") if tag(e) == "BREL_SHEET"]
    if len(sheets) != len(buildings) or not all(s.dxf.name.startswith("*") for s in sheets):
        return found + [f"{len(sheets)} tables as anonymous blocks for {len(buildings)} buildings"]
    sheets.sort(key=lambda s: -s.dxf.insert.y)
    order = sorted(buildings, key=building_key)
    missing = 0
    bottom = None
    for sheet, building in zip(sheets, order):
        block = doc.blocks[sheet.dxf.name]
        title = f"{building}号楼窗日照分析表"
        if title not in {t.dxf.text for t in block if t.dxftype() == "TEXT"}:
            found.append(f"the table at y {sheet.dxf.insert.y:.1f} is not titled {title}")
            continue
        if bottom is not None and sheet.dxf.insert.y >= bottom:
            found.append(f"the table of building {building} overlaps the one above")
        if abs(sheet.dxf.insert.x - sheets[0].dxf.insert.x) > 1e-9:
            found.append(f"the table of building {building} is not under the first one")
        bottom = sheet.dxf.insert.y + min(
            min(l.dxf.start.y, l.dxf.end.y) for l in block if l.dxftype() == "LINE")
        issues, below = table_problems(doc, sheet, buildings[building], font)
        found += [f"building {building}: {i}" for i in issues]
        missing += below
    analysed = sum(len(f) for w in buildings.values() for f in w.values())
    stated = re.search(r"不满足：(\d+)个窗（共(\d+)个）", note)
    if not stated or (int(stated[1]), int(stated[2])) != (missing, analysed):
        found.append(f"the note does not say {missing} of {analysed} windows miss the minimum")
    return found


if __name__ == "__main__":
    point = lambda s: tuple(float(v) for v in s.split(","))
    corners = [point(s) for s in sys.argv[3:]]
    issues = problems(sys.argv[1], sys.argv[2], list(zip(corners[::2], corners[1::2])))
    print("\n".join(issues) if issues else "OK")
    sys.exit(1 if issues else 0)
