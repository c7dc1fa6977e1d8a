#!/usr/bin/python3
"""Checks with ezdxf the window table that VxWinSunAna wrote into a drawing.

Usage: check_window_table.py RESULT.dxf SOURCE.dxf X1,Y1 X2,Y2
The windows are the "_SUNWD" references of SOURCE whose insertion point lies inside the
rectangle (the script selected them with a window). The table is sorted by window number, so
its key column shows every window number once, and its floor column a floor or a range
"lo～hi" per row; together the rows must cover every selected window exactly once.
Prints "OK" and exits 0, or prints what is wrong and exits 1.
"""
import sys
from collections import defaultdict

import ezdxf


def tag(entity):
    return entity.get_xdata("SOLX_TYPE")[0][1] if entity.has_xdata("SOLX_TYPE") else ""


def selected_windows(path, corner1, corner2):
    (x1, y1), (x2, y2) = corner1, corner2
    floors = defaultdict(list)
    for w in ezdxf.readfile(path).modelspace().query('INSERT[name=="_SUNWD"]'):
        p = w.dxf.insert
        if min(x1, x2) <= p.x <= max(x1, x2) and min(y1, y2) <= p.y <= max(y1, y2):
            floors[int(w.get_attrib_text("NUMBER"))].append(int(w.get_attrib_text("FLOOR")))
    return floors


def floor_range(text):
    lo, _, hi = text.partition("～")
    return int(lo), int(hi or lo)


def minutes(clock):
    hours, _, mins = clock.partition(":")
    return int(hours) * 60 + int(mins)


def period_problems(texts):
    """Each row's counted periods (those without a trailing "*") add up to its total, and no
    period has zero length. Period lines belong to the row whose value cell is nearest."""
    at = lambda t: (t.dxf.insert.x, t.dxf.insert.y)
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


def problems(result, source, corner1, corner2):
    doc = ezdxf.readfile(result)
    msp = doc.modelspace()
    found = []
    notes = [e for e in msp.query("TEXT") if tag(e) == "VXDB_TEXT"]
    if len(notes) != 1 or "地点" not in notes[0].dxf.text:
        found.append(f"{len(notes)} note texts")
    elif "最少日照时间：2:00" not in notes[0].dxf.text:
        found.append("the note does not state the minimum of 2 hours the script chose")
    sheets = [e for e in msp.query("INSERT") if tag(e) == "BREL_SHEET"]
    if len(sheets) != 1 or not sheets[0].dxf.name.startswith("*"):
        return found + [f"{len(sheets)} tables as anonymous blocks"]
    texts = [t for t in doc.blocks[sheets[0].dxf.name] if t.dxftype() == "TEXT"]
    contents = {t.dxf.text for t in texts}
    for header in ("窗日照分析表", "窗位", "层数", "窗台高(米)", "日照时间", "总有效日照"):
        if header not in contents:
            found.append(f"header {header} missing")
    # Column 0 is 10 wide, column 1 15: their texts stand at x 5 and 17.5 of the block.
    column = lambda x: [t.dxf.text for t in texts if abs(t.dxf.insert.x - x) < 1e-6]
    keys = [k for k in column(5.0) if k != "窗位"]
    rows = [f for f in column(17.5) if f != "层数"]
    windows = selected_windows(source, corner1, corner2)
    if sorted(int(k) for k in keys) != sorted(windows):
        found.append(f"window numbers {keys} instead of {sorted(windows)}")
    covered = sum(hi - lo + 1 for lo, hi in map(floor_range, rows))
    total = sum(len(f) for f in windows.values())
    if covered != total or not any("～" in r for r in rows):
        found.append(f"{len(rows)} rows cover {covered} windows of {total}")
    found += period_problems(texts)
    if len(sheets[0].get_xdata("SOLX_TYPE")) < 2 or sheets[0].get_xdata("SOLX_TYPE")[1][1] != len(rows) + 2:
        found.append("the table's row count is not the data rows and two header rows")
    return found


if __name__ == "__main__":
    point = lambda s: tuple(float(v) for v in s.split(","))
    issues = problems(sys.argv[1], sys.argv[2], point(sys.argv[3]), point(sys.argv[4]))
    print("\n".join(issues) if issues else "OK")
    sys.exit(1 if issues else 0)
