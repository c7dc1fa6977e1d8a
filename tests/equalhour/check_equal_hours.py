#!/usr/bin/python3
"""Checks with ezdxf and shapely the equal-hour lines that VxSunEqCurve drew into a drawing.

Usage: check_equal_hours.py RESULT.dxf [--frame x0,y0,x1,y1] LEVEL [LEVEL ...]
LEVEL ("2:00") lists the levels the run must have drawn. On the "SUN-SHADOW" layer each level
has polylines carrying the extended data row ("总有效日照", LEVEL) of the application SOLX_INFO,
all in one colour, and one anonymous group holds exactly them. A line is closed, or open with
both ends on a building outline (layer "SUN-BUILDING") or on the edge of the frame (the grid of
the fitting method). Every line runs with the ground below its level on its left. The area
below a level is rebuilt from the lines, the building outlines and the frame: the faces of
their arrangement that lie on the left of a line, and no face lies on the left of one line and
the right of another. That area is valid, without NaN, and the area below a lower level lies
inside the area below a higher one.
Prints "OK" and exits 0, or prints what is wrong and exits 1.
"""
import math
import sys
import warnings

import ezdxf
from shapely.geometry import LineString, Point, Polygon, box
from shapely.ops import polygonize, snap, unary_union
from shapely.strtree import STRtree

warnings.filterwarnings("ignore")  # shapely 1.8 announces its 2.0 STRtree

# Drawing units (mm): how far off an outline an end may be, and how far beside a line the side
# of a face is probed.
END_TOLERANCE = 1.0
PROBE = 0.5


def level_of(e):
    if not e.has_xdata("SOLX_INFO"):
        return None
    values = [v for code, v in e.get_xdata("SOLX_INFO") if code == 1000]
    rows = dict(zip(values[0::2], values[1::2]))
    return rows.get("总有效日照")


def points_of(e):
    """The vertices of a LWPOLYLINE or POLYLINE in plan, and whether it is closed."""
    if e.dxftype() == "LWPOLYLINE":
        return [tuple(p) for p in e.get_points("xy")], bool(e.closed)
    if e.dxftype() == "POLYLINE":
        # A spline-fitted polyline is drawn through its fit vertices (flag 8), not its frame.
        vertices = list(e.vertices)
        fitted = [v for v in vertices if v.dxf.flags & 8]
        pts = [(v.dxf.location[0], v.dxf.location[1]) for v in (fitted or vertices)]
        return pts, bool(e.is_closed)
    return None, False


def footprints(doc):
    rings = []
    for e in doc.modelspace().query('LWPOLYLINE[layer=="SUN-BUILDING"]'):
        pts = list(e.get_points("xy"))
        if len(pts) >= 3:
            rings.append(Polygon(pts))
    return rings


def below_area(lines, outlines, frame):
    """The area below a level from its lines [(points, closed)], the building outlines
    [Polygon] and the frame (Polygon or None): the faces of the arrangement of all three that lie
    on the left of a line. Returns (area, problems)."""
    problems = []
    walls = []
    if not all(closed for _, closed in lines):
        # Open lines end on walls and the frame, which close the faces with them.
        walls = [o.exterior for o in outlines]
        if frame is not None:
            walls.append(frame.exterior)
    wall_union = unary_union(walls) if walls else None
    strings = []
    for pts, closed in lines:
        ring = pts + [pts[0]] if closed else pts
        s = LineString(ring)
        if wall_union is not None and not closed:
            # Ends computed on a wall lie on it only to rounding: snap them onto it.
            s = snap(s, wall_union, 1e-3)
        strings.append(s)
    faces = list(polygonize(unary_union(strings + walls)))
    if not faces:
        return Polygon(), problems
    tree = STRtree(faces, range(len(faces)))
    votes = [[0, 0] for _ in faces]  # [left of a line, right of a line]

    def face_at(x, y):
        p = Point(x, y)
        for i in tree.query_items(p):
            if faces[i].contains(p):
                return i
        return None

    for pts, closed in lines:
        ring = pts + [pts[0]] if closed else pts
        for (ax, ay), (bx, by) in zip(ring, ring[1:]):
            length = math.hypot(bx - ax, by - ay)
            if length < 4 * PROBE:
                continue
            mx, my = (ax + bx) / 2, (ay + by) / 2
            nx, ny = -(by - ay) / length * PROBE, (bx - ax) / length * PROBE
            for side, (x, y) in enumerate(((mx + nx, my + ny), (mx - nx, my - ny))):
                f = face_at(x, y)
                if f is not None:
                    votes[f][side] += 1
    below = []
    for f, (left, right) in zip(faces, votes):
        if walls and any(o.contains(f.representative_point()) for o in outlines):
            continue  # a footprint: no ground, whichever side a probe near its wall fell on
        if left and right:
            c = f.representative_point()
            problems.append(f"a face at {c.x:.0f},{c.y:.0f} lies left of {left} and right of "
                            f"{right} line segments")
        if left and not right:
            below.append(f)
    return unary_union(below) if below else Polygon(), problems


def level_minutes(lv):
    return int(lv.split(":")[0]) * 60 + int(lv.split(":")[1])


def main():
    args = sys.argv[1:]
    path = args.pop(0)
    frame = None
    if args and args[0] == "--frame":
        x0, y0, x1, y1 = map(float, args[1].split(","))
        frame = box(x0, y0, x1, y1)
        args = args[2:]
    levels = args
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    problems = []
    by_level = {lv: [] for lv in levels}
    for e in msp.query('*[layer=="SUN-SHADOW"]'):
        lv = level_of(e)
        if lv not in by_level:
            problems.append(f"{e.dxftype()} {e.dxf.handle}: level {lv!r} not asked for")
            continue
        by_level[lv].append(e)
    outlines = footprints(doc)
    ends_on = unary_union([o.exterior for o in outlines] +
                          ([frame.exterior] if frame is not None else []))
    groups = [set(e.dxf.handle for e in g) for _, g in doc.groups]
    shapes = {}
    for lv, entities in by_level.items():
        if not entities:
            problems.append(f"level {lv}: nothing drawn")
            continue
        lines = []
        for e in entities:
            pts, closed = points_of(e)
            if pts is None or len(pts) < (3 if closed else 2):
                problems.append(f"level {lv}: {e.dxftype()} {e.dxf.handle} is no line")
                continue
            if any(math.isnan(c) for p in pts for c in p):
                problems.append(f"level {lv}: NaN in {e.dxf.handle}")
                continue
            if not closed:
                for p in (pts[0], pts[-1]):
                    if ends_on.is_empty or ends_on.distance(Point(p)) > END_TOLERANCE:
                        problems.append(f"level {lv}: open {e.dxf.handle} ends at "
                                        f"{p[0]:.0f},{p[1]:.0f}, on no outline or frame edge")
            lines.append((pts, closed))
        if len({e.dxf.color for e in entities}) != 1:
            problems.append(f"level {lv}: more than one colour")
        if set(e.dxf.handle for e in entities) not in groups:
            problems.append(f"level {lv}: its lines are not one group")
        shape, found = below_area(lines, outlines, frame)
        problems += [f"level {lv}: {p}" for p in found]
        if not shape.is_valid or shape.area <= 0:
            problems.append(f"level {lv}: the lines make no valid area")
        shapes[lv] = shape
    ordered = sorted(shapes, key=level_minutes)
    for lower, higher in zip(ordered, ordered[1:]):
        outside = shapes[lower].difference(shapes[higher]).area
        if outside > 1e-6 * shapes[lower].area:
            problems.append(f"below {lower} is not inside below {higher} ({outside:.1f} outside)")
    print("\n".join(problems) if problems else "OK")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
