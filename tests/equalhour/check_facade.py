#!/usr/bin/python3
"""Makes the facade test drawing, and checks with ezdxf what the facade equal-hour lines drew.

Usage:
  check_facade.py make DRAWING.dxf
  check_facade.py check RESULT.dxf DX DY PANELS LEVEL=HEIGHT ... [window=H:MM]
  check_facade.py count RESULT.dxf
  check_facade.py make-arc DRAWING.dxf
  check_facade.py check-arc RESULT.dxf

The drawing: a slab 20 m x 10 m and 60 m high (its south face on y = 0, x 0 to 20 m), a wall 30 m
high and 1 m thick whose north face runs 19 m south of it, a window on the south face (sill 20 m
up, 5 m from the west end) and one on the east face (sill 10 m up, 5 m from the south end), and an
open polyline on the building layer (not a slab).

check: the unfolded drawing was moved by (DX, DY). PANELS is "x0:length:height,..." for the panel
rectangles (colour 41) expected before the move. Every 3D polyline on "SUN-SHADOW" carries the
info row of its level and lies on the south face (y = -10), the east face (x = 20010) or the west face (x = -10); on the
south face a line of a level given as LEVEL=HEIGHT lies within one grid cell (1000) of that height,
and so does its unfolded line. The window rectangles (colour 6) stand where the windows are. With
window=H:MM the number grid label at the south window's sill middle reads that time.
make-arc / check-arc: a slab 30 m high whose east side is a half circle of radius 5 m about
(20000, 5000), behind a wall 20 m high; the whole slab unfolded in place: the south wall at 0, the
arc (5000 pi long) joined to it, the west wall after a 5 m gap; every 3D polyline beside the arc
lies on the circle 10 out of it (a spline fitted through points on it stays within 50 inside).
count: prints the numbers of 3D polylines, unfolded lines, panel rectangles and prompt markers.
Prints "OK" and exits 0, or what is wrong and exits 1.
"""
import sys

import ezdxf

OFFSET = 10.0
CELL = 1000.0


def make(path):
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = 4
    msp = doc.modelspace()
    building = {"layer": "SUN-BUILDING"}
    msp.add_lwpolyline([(0, 0), (20000, 0), (20000, 10000), (0, 10000)], close=True,
                       dxfattribs=dict(building, thickness=60000))
    msp.add_lwpolyline([(-100000, -20000), (100000, -20000), (100000, -19000), (-100000, -19000)],
                       close=True, dxfattribs=dict(building, thickness=30000))
    msp.add_lwpolyline([(0, 30000), (20000, 30000)], dxfattribs=dict(building, thickness=3000))
    block = doc.blocks.new("_SUNWD")
    block.add_line((-0.5, 0, 0), (0.5, 0, 0))
    block.add_line((-0.5, 1, 0), (0.5, 1, 0))
    for x, y, z, rotation in ((5000, 0, 20000, 0), (20000, 5000, 10000, 90)):
        msp.add_blockref("_SUNWD", (x, y, z), dxfattribs={
            "layer": "SUN-WINDOW", "xscale": 1500, "yscale": 200, "zscale": 1500,
            "rotation": rotation})
    doc.saveas(path)


def make_arc(path):
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = 4
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 0, 0, 0), (20000, 0, 0, 0, 1.0), (20000, 10000, 0, 0, 0),
                        (0, 10000, 0, 0, 0)], format="xyseb", close=True,
                       dxfattribs={"layer": "SUN-BUILDING", "thickness": 30000})
    msp.add_lwpolyline([(-50000, -20000), (50000, -20000), (50000, -19000), (-50000, -19000)],
                       close=True, dxfattribs={"layer": "SUN-BUILDING", "thickness": 20000})
    doc.saveas(path)


def check_arc(path):
    import math
    msp = ezdxf.readfile(path).modelspace()
    shadow = msp.query('*[layer=="SUN-SHADOW"]')
    errors = []
    arc_lines = 0
    for e in shadow:
        if e.dxftype() != "POLYLINE" or not e.is_3d_polyline:
            continue
        pts = [v.dxf.location for v in e.vertices]
        if all(p.x > 20000 for p in pts):
            arc_lines += 1
            radii = [math.hypot(p.x - 20000, p.y - 5000) for p in pts]
            if min(radii) < 5010 - 50 or max(radii) > 5010 + 1e-6:
                errors.append(f"arc line {e.dxf.handle} at radii {min(radii):.1f}..{max(radii):.1f}")
    if not arc_lines:
        errors.append("no line on the arc facade")
    xs = sorted(round(min(p[0] for p in e.get_points("xy")), 3)
                for e in shadow.query("LWPOLYLINE") if e.dxf.color == 41)
    want = [0.0, 20000.0, round(20000 + 5000 * math.pi + 5000, 3)]
    if xs != want:
        errors.append(f"panels start at {xs}, expected {want}")
    print("\n".join(errors) if errors else "OK")
    return not errors


def hours(text):
    h, m = text.split(":")
    return int(h) + int(m) / 60


def info_level(e):
    if not e.has_xdata("SOLX_INFO"):
        return None
    texts = [v for code, v in e.get_xdata("SOLX_INFO") if code == 1000 and ":" in str(v)]
    return hours(texts[-1]) if texts else None


def check(path, dx, dy, panels, heights, window):
    msp = ezdxf.readfile(path).modelspace()
    shadow = msp.query('*[layer=="SUN-SHADOW"]')
    errors = []
    lines3d = [e for e in shadow if e.dxftype() == "POLYLINE" and e.is_3d_polyline]
    if not lines3d:
        errors.append("no 3D polyline on the facades")
    for e in lines3d:
        level = info_level(e)
        if level is None:
            errors.append(f"3D polyline {e.dxf.handle} has no level info")
            continue
        pts = [v.dxf.location for v in e.vertices]
        south = all(abs(p.y + OFFSET) < 1e-3 and -1 <= p.x <= 20001 for p in pts)
        east = all(abs(p.x - 20000 - OFFSET) < 1e-3 and -1 <= p.y <= 10001 for p in pts)
        west = all(abs(p.x + OFFSET) < 1e-3 and -1 <= p.y <= 10001 for p in pts)
        if not (south or east or west):
            errors.append(f"3D polyline {e.dxf.handle} is off the facades: {pts[:3]}")
        for p in pts:
            if not -1 <= p.z <= 60001:
                errors.append(f"3D polyline {e.dxf.handle} vertex at height {p.z}")
                break
        if south and level in heights:
            far = [p.z for p in pts if abs(p.z - heights[level]) > CELL]
            if far:
                errors.append(f"level {level} on the south face at {far[:3]}, expected "
                              f"{heights[level]:.0f}")
    unfolded = [e for e in shadow if e.dxftype() in ("LWPOLYLINE", "POLYLINE")
                and not (e.dxftype() == "POLYLINE" and e.is_3d_polyline)
                and info_level(e) is not None]
    if not unfolded:
        errors.append("no unfolded line")
    for e in unfolded:
        level = info_level(e)
        pts = list(e.get_points("xy")) if e.dxftype() == "LWPOLYLINE" else \
            [(v.dxf.location.x, v.dxf.location.y) for v in e.vertices]
        if level in heights and all(dx - 1 <= x <= dx + 20001 for x, _ in pts):
            far = [y - dy for _, y in pts if abs(y - dy - heights[level]) > CELL]
            if far:
                errors.append(f"unfolded level {level} at heights {far[:3]}")

    def rects(colour):
        out = []
        for e in shadow.query("LWPOLYLINE"):
            if e.dxf.color != colour:
                continue
            xs = [p[0] for p in e.get_points("xy")]
            ys = [p[1] for p in e.get_points("xy")]
            out.append((min(xs) - dx, max(xs) - min(xs), min(ys) - dy, max(ys) - min(ys)))
        return sorted(out)

    want = sorted((x, length, 0.0, height) for x, length, height in panels)
    got = rects(41)
    if len(got) != len(want) or any(abs(a - b) > 1e-6 for g, w in zip(got, want) for a, b in zip(g, w)):
        errors.append(f"panel rectangles {got}, expected {want}")
    windows = rects(6)
    for x, y in ((5000 - 750, 20000), (25000 - 750, 10000)):
        if not any(abs(w[0] - x) < 1e-6 and abs(w[2] - y) < 1e-6 and abs(w[1] - 1500) < 1e-6
                   and abs(w[3] - 1500) < 1e-6 for w in windows):
            errors.append(f"no window rectangle at {x},{y}: {windows}")
    if window:
        at = [t for t in shadow.query("TEXT")
              if abs(t.dxf.align_point.x - dx - 5000) < 1 and abs(t.dxf.align_point.y - dy - 20000) < 1
              and abs(t.dxf.extrusion.z - 1) < 1e-9]
        if not at or at[0].dxf.text != window:
            errors.append(f"label at the window: {[t.dxf.text for t in at]}, expected {window}")
    print("\n".join(errors) if errors else "OK")
    return not errors


def count(path):
    msp = ezdxf.readfile(path).modelspace()
    shadow = msp.query('*[layer=="SUN-SHADOW"]')
    lines3d = sum(1 for e in shadow if e.dxftype() == "POLYLINE" and e.is_3d_polyline)
    flat = sum(1 for e in shadow if e.dxftype() in ("LWPOLYLINE", "POLYLINE")
               and not (e.dxftype() == "POLYLINE" and e.is_3d_polyline) and info_level(e) is not None)
    rects = sum(1 for e in shadow.query("LWPOLYLINE") if e.dxf.color == 41)
    markers = sum(1 for e in msp.query("INSERT") if e.has_xdata("SOLX_TYPE")
                  and e.get_xdata("SOLX_TYPE")[0][1] == "BREL_PROMPTSYMBOL")
    print(lines3d, flat, rects, markers)
    return True


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
        sys.exit(0)
    if sys.argv[1] == "make-arc":
        make_arc(sys.argv[2])
        sys.exit(0)
    if sys.argv[1] == "check-arc":
        sys.exit(0 if check_arc(sys.argv[2]) else 1)
    if sys.argv[1] == "count":
        sys.exit(0 if count(sys.argv[2]) else 1)
    _, _, out, dx, dy, spec, *rest = sys.argv
    panels = [tuple(map(float, p.split(":"))) for p in spec.split(",")]
    heights = {}
    window = None
    for arg in rest:
        key, value = arg.split("=")
        if key == "window":
            window = value
        else:
            heights[float(key)] = float(value)
    sys.exit(0 if check(out, float(dx), float(dy), panels, heights, window) else 1)
