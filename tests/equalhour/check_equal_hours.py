#!/usr/bin/python3
"""Checks with ezdxf and shapely the equal-hour lines that VxSunEqCurve drew into a drawing.

Usage: check_equal_hours.py RESULT.dxf LEVEL [LEVEL ...]
LEVEL ("2:00") lists the levels the run must have drawn. On the "SUN-SHADOW" layer each level
has closed polylines carrying the extended data row ("总有效日照", LEVEL) of the application
SOLX_INFO, all in one colour, and one anonymous group holds exactly them. The outlines of a
level (counter-clockwise outer rings less clockwise holes) make a valid area without NaN, and
the area below a lower level lies inside the area below a higher one.
Prints "OK" and exits 0, or prints what is wrong and exits 1.
"""
import math
import sys

import ezdxf
from shapely.geometry import Polygon
from shapely.ops import unary_union


def level_of(e):
    if not e.has_xdata("SOLX_INFO"):
        return None
    values = [v for code, v in e.get_xdata("SOLX_INFO") if code == 1000]
    rows = dict(zip(values[0::2], values[1::2]))
    return rows.get("总有效日照")


def shape_of(rings):
    outers, holes = [], []
    for r in rings:
        (outers if Polygon(r).exterior.is_ccw else holes).append(Polygon(r))
    shape = unary_union(outers)
    for h in holes:
        shape = shape.difference(h)
    return shape


def main():
    doc = ezdxf.readfile(sys.argv[1])
    levels = sys.argv[2:]
    msp = doc.modelspace()
    problems = []
    by_level = {lv: [] for lv in levels}
    for e in msp.query('*[layer=="SUN-SHADOW"]'):
        lv = level_of(e)
        if lv not in by_level:
            problems.append(f"{e.dxftype()} {e.dxf.handle}: level {lv!r} not asked for")
            continue
        by_level[lv].append(e)
    groups = [set(e.dxf.handle for e in g) for _, g in doc.groups]
    shapes = {}
    for lv, entities in by_level.items():
        if not entities:
            problems.append(f"level {lv}: nothing drawn")
            continue
        rings = []
        for e in entities:
            pts = list(e.get_points("xy")) if e.dxftype() == "LWPOLYLINE" else []
            if e.dxftype() != "LWPOLYLINE" or not e.closed or len(pts) < 3:
                problems.append(f"level {lv}: {e.dxftype()} {e.dxf.handle} is no closed outline")
                continue
            if any(math.isnan(c) for p in pts for c in p):
                problems.append(f"level {lv}: NaN in {e.dxf.handle}")
                continue
            rings.append(pts)
        if len({e.dxf.color for e in entities}) != 1:
            problems.append(f"level {lv}: more than one colour")
        if set(e.dxf.handle for e in entities) not in groups:
            problems.append(f"level {lv}: its lines are not one group")
        shape = shape_of(rings)
        if not shape.is_valid or shape.area <= 0:
            problems.append(f"level {lv}: the outlines make no valid area")
        shapes[lv] = shape
    ordered = sorted(shapes, key=lambda lv: int(lv.split(":")[0]) * 60 + int(lv.split(":")[1]))
    for lower, higher in zip(ordered, ordered[1:]):
        outside = shapes[lower].difference(shapes[higher]).area
        if outside > 1e-6 * shapes[lower].area:
            problems.append(f"below {lower} is not inside below {higher} ({outside:.1f} outside)")
    print("\n".join(problems) if problems else "OK")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
