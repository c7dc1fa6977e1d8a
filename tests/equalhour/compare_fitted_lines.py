#!/usr/bin/python3
"""Compares the fitted equal-hour lines of one level with the micro-region outlines of the same
level, both read with ezdxf from drawings that VxSunEqCurve saved.

Usage: compare_fitted_lines.py FITTED.dxf MICRO.dxf LEVEL CELL BOX
LEVEL "2:00"; CELL the grid spacing; BOX "x0,y0,x1,y1" the analysed area (the frame of the
grid). The area below the level is rebuilt from each drawing's lines with the building outlines
and the frame (check_equal_hours.below_area: the faces on the left of the lines); the fitted
lines are open where they end on a wall or the frame, the micro-region outlines closed. Both
areas are taken outside the building footprints and clipped to the box shrunk by one cell. The
symmetric difference must stay within a band of one cell along the micro-region outline.
Prints "OK <difference> <band>" or what is wrong, exit 0 or 1.
"""
import os
import sys

import ezdxf
from shapely.geometry import LineString, box
from shapely.ops import unary_union

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_equal_hours import below_area, footprints, level_of, points_of  # noqa: E402


def lines_of(doc, level):
    lines = []
    for e in doc.modelspace().query('*[layer=="SUN-SHADOW"]'):
        if level_of(e) != level:
            continue
        pts, closed = points_of(e)
        if pts and len(pts) >= 2:
            lines.append((pts, closed))
    return lines


def main():
    fitted_path, micro_path, level, cell, frame = sys.argv[1:6]
    cell = float(cell)
    x0, y0, x1, y1 = map(float, frame.split(","))
    grid = box(x0, y0, x1, y1)
    clip = box(x0 + cell, y0 + cell, x1 - cell, y1 - cell)
    fitted_doc, micro_doc = ezdxf.readfile(fitted_path), ezdxf.readfile(micro_path)
    outlines = footprints(fitted_doc)
    ground = clip.difference(unary_union(outlines)) if outlines else clip
    fitted_lines, micro_lines = lines_of(fitted_doc, level), lines_of(micro_doc, level)
    if not fitted_lines or not micro_lines:
        print(f"no lines of {level}: fitted {len(fitted_lines)}, micro {len(micro_lines)}")
        return 1
    fitted, problems = below_area(fitted_lines, outlines, grid)
    micro, found = below_area(micro_lines, footprints(micro_doc), None)
    problems += found
    if problems:
        print("\n".join(problems))
        return 1
    fitted, micro = fitted.intersection(ground), micro.intersection(ground)
    if not fitted.is_valid or fitted.area <= 0:
        print("the fitted lines make no valid area")
        return 1
    difference = fitted.symmetric_difference(micro).area
    # The band runs along the micro-region lines within the box (not along walls or the box).
    band = sum(LineString(pts + [pts[0]] if closed else pts).intersection(clip).length
               for pts, closed in micro_lines) * cell
    if difference > band:
        print(f"fitted and micro-region areas differ by {difference:.0f} > band {band:.0f} "
              f"(fitted {fitted.area:.0f}, micro {micro.area:.0f})")
        return 1
    print(f"OK {difference:.0f} {band:.0f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
