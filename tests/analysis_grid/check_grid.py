#!/usr/bin/python3
"""Checks with ezdxf and shapely the sunlight map that VxSunMPoint drew into a drawing.

Usage: check_grid.py RESULT.dxf SPACING [every|thinned]
Everything on "SUN-SHADOW" is one anonymous group and carries its SOLX_INFO rows; the value
texts stand on one lattice of SPACING, none inside a building footprint (closed polylines on
"SUN-BUILDING" cut at the ground); each value lies in the hour band that the legend gives for
the colour of the cell under it; "every": no lattice point inside the grid's cells that lies
outside the footprints lacks its text. Prints OK or the first problems.
"""
import re
import sys

import ezdxf
from shapely.geometry import Point, Polygon
from shapely.ops import unary_union

doc = ezdxf.readfile(sys.argv[1])
spacing = float(sys.argv[2])
mode = sys.argv[3] if len(sys.argv) > 3 else "thinned"
msp = doc.modelspace()
problems = []

shadow = [e for e in msp if e.dxf.layer == "SUN-SHADOW"]
if not shadow:
    print("nothing on SUN-SHADOW")
    sys.exit(0)
handles = {e.dxf.handle for e in shadow}
groups = [set(e.dxf.handle for e in g) for _, g in doc.groups]
if len(groups) != 1 or groups[0] != handles:
    problems.append(f"{len(groups)} groups; the map is not exactly one group")
for e in shadow:
    if not e.has_xdata("SOLX_INFO"):
        problems.append(f"{e.dxftype()} {e.dxf.handle} has no SOLX_INFO rows")

def rows(e):
    return [v for code, v in e.get_xdata("SOLX_INFO") if code == 1000]

footprints = unary_union([Polygon(list(p.get_points("xy")))
                          for p in msp.query('LWPOLYLINE[layer=="SUN-BUILDING"]') if p.closed])

# The legend: a swatch per band, its row "日照时数" holding "a ~ b" or ">= a".
bands = {}
cells = []
for h in msp.query('HATCH[layer=="SUN-SHADOW"]'):
    r = rows(h)
    loops = [Polygon([(v[0], v[1]) for v in path.vertices]) for path in h.paths]
    if len(r) >= 2 and r[0] == "日照时数":
        m = re.match(r"([\d.]+) ~ ([\d.]+)|>= ([\d.]+)", r[1])
        lo = float(m.group(1) or m.group(3))
        hi = float(m.group(2)) if m.group(2) else 1e9
        bands[h.dxf.color] = (lo, hi)
    else:
        cells.append((h.dxf.color, unary_union(loops)))
if not bands or not cells:
    problems.append(f"{len(bands)} legend bands, {len(cells)} cell hatches")

values = []
for t in msp.query('TEXT[layer=="SUN-SHADOW"]'):
    if re.fullmatch(r"\d+\.\d", t.dxf.text) and t.dxf.height < spacing:
        p = t.dxf.align_point if t.dxf.halign or t.dxf.valign else t.dxf.insert
        values.append((float(t.dxf.text), p[0], p[1], rows(t)))
if not values:
    problems.append("no value texts")
x0 = min(v[1] for v in values)
y0 = min(v[2] for v in values)
for v, x, y, r in values:
    for c in ((x - x0) / spacing, (y - y0) / spacing):
        if abs(c - round(c)) > 1e-6:
            problems.append(f"text {v} at {x},{y} is off the lattice")
    if footprints.contains(Point(x, y)):
        problems.append(f"text {v} at {x},{y} inside a footprint")
    # The first row: the evaluation and the value as h:mm, the same value as the text.
    m = re.fullmatch(r"(\d+):(\d\d)", r[1]) if len(r) >= 2 else None
    if not m or abs(int(m.group(1)) + int(m.group(2)) / 60 - v) > 0.05 + 1 / 60:
        problems.append(f"text {v} at {x},{y} has the rows {r}")
    if mode == "every" and (len(r) < 4 or r[2] != "日照时段"):
        problems.append(f"text {v} at {x},{y} lacks its periods row: {r}")
    under = [c for c, shape in cells if shape.covers(Point(x, y))]
    if len(under) != 1:
        problems.append(f"text {v} at {x},{y} lies on {len(under)} cells")
        continue
    lo, hi = bands.get(under[0], (None, None))
    if lo is None or not (lo - 1e-6 <= v + 0.05 and v - 0.05 < hi):
        problems.append(f"text {v} at {x},{y} on a cell of colour {under[0]} band {lo}..{hi}")

if mode == "every":
    seen = {(round((x - x0) / spacing), round((y - y0) / spacing)) for _, x, y, _ in values}
    grid = unary_union([shape for _, shape in cells])
    minx, miny, maxx, maxy = grid.bounds
    i = 0
    while x0 + i * spacing < maxx:
        j = 0
        while y0 + j * spacing < maxy:
            p = Point(x0 + i * spacing, y0 + j * spacing)
            if grid.contains(p) and not footprints.buffer(1.0).contains(p) and (i, j) not in seen:
                problems.append(f"lattice point {p.x},{p.y} has no text")
            j += 1
        i += 1

print("OK" if not problems else "\n".join(problems[:10]))
