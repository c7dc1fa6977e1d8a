"""Writes a drawing of hatches with ezdxf and prints how ezdxf reads each boundary loop.

usage: make_hatch_samples.py OUT.dxf
Prints one line per loop: "HANDLE LOOP AREA FIRSTX FIRSTY", the area (absolute) and first
vertex of the loop as ezdxf's own path flattening gives them (0.001 drawing units).
"""
import sys

import ezdxf
from ezdxf import path


def area(points):
    s = 0.0
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        s += x0 * y1 - x1 * y0
    return abs(s) / 2.0


def main():
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    # Solid, a polyline loop with a bulged side and a square hole.
    h = msp.add_hatch(color=1)
    h.paths.add_polyline_path([(0, 0, 0), (20, 0, 0.5), (20, 10, 0), (0, 10, 0)], is_closed=True,
                              flags=1)
    h.paths.add_polyline_path([(5, 3), (9, 3), (9, 7), (5, 7)], is_closed=True, flags=16)
    # Solid, edges: a line, a counter-clockwise half circle, a line, a clockwise quarter circle.
    h = msp.add_hatch(color=3)
    e = h.paths.add_edge_path(flags=1)
    e.add_line((40, 0), (50, 0))
    e.add_arc((50, 5), 5, -90, 90, ccw=True)
    e.add_line((50, 10), (45, 10))
    e.add_arc((40, 10), 5, 0, 270, ccw=False)
    # Solid, a full circle as one arc edge, in the -Z plane (x mirrored).
    h = msp.add_hatch(color=5)
    h.dxf.extrusion = (0, 0, -1)
    h.dxf.elevation = (0, 0, 2)
    e = h.paths.add_edge_path(flags=1)
    e.add_arc((-70, 5), 4, 0, 360, ccw=True)
    # Solid with a spline edge: not read, kept as written.
    h = msp.add_hatch(color=4)
    e = h.paths.add_edge_path(flags=1)
    e.add_line((0, 30), (10, 30))
    e.add_spline(fit_points=[(10, 30), (12, 35), (10, 40)], control_points=[(10, 30), (13, 35),
                 (10, 40)], knot_values=[0, 0, 0, 1, 1, 1], degree=2)
    e.add_line((10, 40), (0, 40))
    e.add_line((0, 40), (0, 30))
    # A pattern, drawn as its loops.
    h = msp.add_hatch(color=2)
    h.set_pattern_fill("ANSI31", scale=1)
    h.paths.add_polyline_path([(40, 30), (50, 30), (50, 40)], is_closed=True, flags=1)
    doc.saveas(sys.argv[1])

    for hatch in ezdxf.readfile(sys.argv[1]).modelspace().query("HATCH"):
        for i, p in enumerate(path.from_hatch(hatch)):
            pts = [(v.x, v.y) for v in p.flattening(0.001)]
            if len(pts) > 1 and pts[0] == pts[-1]:
                pts.pop()
            print(hatch.dxf.handle, i, repr(area(pts)), repr(pts[0][0]), repr(pts[0][1]))


if __name__ == "__main__":
    main()
