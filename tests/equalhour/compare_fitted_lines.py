#!/usr/bin/python3
"""Compares the fitted equal-hour lines of one level with the micro-region outlines of the same
level, both read with ezdxf from drawings that VxSunEqCurve saved.

Usage: compare_fitted_lines.py FITTED.dxf MICRO.dxf LEVEL CELL BOX
LEVEL "2:00"; CELL the grid spacing; BOX "x0,y0,x1,y1" the analysed area. Every fitted line of
the level on "SUN-SHADOW" carries the info row, is closed, and runs as the micro-region outlines
do, counter-clockwise around the ground below the level: the area below the level is the
union of the counter-clockwise rings less the clockwise ones (building footprints have no
value and count as below in the fitted lines, so the micro-region area is given them). Both are clipped to the box shrunk by one cell. The symmetric difference must
stay within a band of one cell along the micro-region outline.
Prints "OK <difference> <band>" or what is wrong, exit 0 or 1.
"""
import sys

import ezdxf
from shapely.geometry import Polygon, box
from shapely.ops import unary_union


def level_of(e):
    if not e.has_xdata("SOLX_INFO"):
        return None
    values = [v for code, v in e.get_xdata("SOLX_INFO") if code == 1000]
    return dict(zip(values[0::2], values[1::2])).get("总有效日照")


def rings_of(path, level, problems):
    rings = []
    for e in ezdxf.readfile(path).modelspace().query('LWPOLYLINE[layer=="SUN-SHADOW"]'):
        if level_of(e) != level:
            continue
        pts = list(e.get_points("xy"))
        if not e.closed or len(pts) < 3:
            problems.append(f"{path}: {e.dxf.handle} is not a closed outline")
            continue
        rings.append(Polygon(pts))
    return rings


def area(rings):
    below = [r for r in rings if r.exterior.is_ccw]
    other = [r for r in rings if not r.exterior.is_ccw]
    return unary_union([r.buffer(0) for r in below]).difference(
        unary_union([r.buffer(0) for r in other]))


def footprints(path):
    out = []
    for e in ezdxf.readfile(path).modelspace().query('LWPOLYLINE[layer=="SUN-BUILDING"]'):
        out.append(Polygon(list(e.get_points("xy"))))
    return unary_union(out)


def main():
    fitted_path, micro_path, level, cell, frame = sys.argv[1:6]
    cell = float(cell)
    x0, y0, x1, y1 = map(float, frame.split(","))
    clip = box(x0 + cell, y0 + cell, x1 - cell, y1 - cell)
    problems = []
    fitted_rings = rings_of(fitted_path, level, problems)
    micro_rings = rings_of(micro_path, level, problems)
    if not fitted_rings or not micro_rings:
        problems.append(f"no lines of {level}: fitted {len(fitted_rings)}, micro {len(micro_rings)}")
    if problems:
        print("\n".join(problems))
        return 1
    fitted = area(fitted_rings).intersection(clip)
    micro = area(micro_rings).union(footprints(micro_path)).intersection(clip)
    difference = fitted.symmetric_difference(micro).area
    band = micro.boundary.length * cell
    if not fitted.is_valid or fitted.area <= 0:
        print("the fitted lines make no valid area")
        return 1
    if difference > band:
        print(f"fitted and micro-region areas differ by {difference:.0f} > band {band:.0f} "
              f"(fitted {fitted.area:.0f}, micro {micro.area:.0f})")
        return 1
    print(f"OK {difference:.0f} {band:.0f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
