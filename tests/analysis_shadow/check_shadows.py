#!/usr/bin/python3
"""Checks with ezdxf and shapely the shadow outlines that VxShadow2d drew into a drawing.

Usage: check_shadows.py RESULT.dxf SOURCE.dxf TIME [TIME ...]
TIME ("8:00") lists the moments the run must have drawn, in order. On the "SUN-SHADOW" layer
there must be, per moment i (colour index i + 1): outline entities (regions, or closed
polylines when no region could be made) carrying the extended data row ("日照时刻", TIME) of
the application SOLX_INFO, and one time label reading TIME; one anonymous group holds exactly
the entities of that moment. Every outline is a valid polygon without NaN, lies clear of the
footprints of the SOURCE buildings the ground plane cuts, and points away from the sun: the
label's rotation is minus the sun's azimuth (from south, west positive), and the shadow's
centre lies beyond the buildings' centre along the light's plan direction. Morning shadows
lean west, afternoon ones east, and the 8:00 shadow covers more ground than the noon one.
Prints "OK" and exits 0, or prints what is wrong and exits 1.
"""
import math
import sys

import ezdxf
from shapely.geometry import Point, Polygon
from shapely.ops import unary_union

LAYER = "SUN-SHADOW"


def tag(e):
    return e.get_xdata("SOLX_TYPE")[0][1] if e.has_xdata("SOLX_TYPE") else ""


def rings_of(doc, e):
    """The closed rings of an outline entity: a region's block polylines, or the polyline."""
    if e.dxftype() == "INSERT":
        return [list(p.get_points("xy")) for p in doc.blocks[e.dxf.name].query("LWPOLYLINE")]
    return [list(e.get_points("xy"))]


def shape_of(rings):
    """Outer rings and holes by their orientation (holes run clockwise)."""
    outers, holes = [], []
    for r in rings:
        (outers if Polygon(r).exterior.is_ccw else holes).append(Polygon(r))
    shape = unary_union(outers)
    for h in holes:
        shape = shape.difference(h)
    return shape


def info_rows(e):
    if not e.has_xdata("SOLX_INFO"):
        return []
    values = [v for code, v in e.get_xdata("SOLX_INFO") if code == 1000]
    return list(zip(values[0::2], values[1::2]))


def footprints(path):
    msp = ezdxf.readfile(path).modelspace()
    # buffer(0) repairs an outline that crosses itself, as the drawing's regions do.
    return unary_union([Polygon(list(p.get_points("xy"))).buffer(0)
                        for p in msp.query('LWPOLYLINE[layer=="SUN-BUILDING"]')
                        if p.closed and p.dxf.elevation <= 0 < p.dxf.elevation + p.dxf.thickness])


def check(result, source, times):
    doc = ezdxf.readfile(result)
    msp = doc.modelspace()
    found = []
    shadow = [e for e in msp if e.dxf.layer == LAYER]
    for e in shadow:
        for r in ([] if e.dxftype() == "TEXT" else rings_of(doc, e)):
            if any(not math.isfinite(c) for p in r for c in p):
                found.append(f"#{e.dxf.handle}: a coordinate is not a number")
    groups = [{e.dxf.handle for e in g} for _, g in doc.groups]
    handles = {e.dxf.handle for e in shadow}
    feet = footprints(source)
    centre = feet.centroid
    areas = {}
    for i, time in enumerate(times):
        colour = i + 1
        mine = [e for e in shadow if e.dxf.color == colour]
        labels = [e for e in mine if e.dxftype() == "TEXT"]
        outlines = [e for e in mine if e.dxftype() != "TEXT"]
        if [t.dxf.text for t in labels] != [time]:
            found.append(f"{time}: labels {[t.dxf.text for t in labels]} in colour {colour}")
            continue
        if not outlines:
            found.append(f"{time}: no outline in colour {colour}")
            continue
        if any(tag(e) not in ("REGION", "") for e in outlines):
            found.append(f"{time}: outline of an unexpected kind")
        if any(info_rows(e) != [("日照时刻", time)] for e in outlines):
            found.append(f"{time}: extended data {[info_rows(e) for e in outlines]}")
        members = {e.dxf.handle for e in mine}
        if members not in [g & handles for g in groups]:
            found.append(f"{time}: no group holds exactly its {len(members)} entities")
        shape = unary_union([shape_of(rings_of(doc, e)) for e in outlines])
        if not shape.is_valid or shape.is_empty:
            found.append(f"{time}: the outline is not a valid area")
            continue
        areas[time] = shape.area
        if shape.intersection(feet).area > 1e-6 * shape.area:
            found.append(f"{time}: the outline covers building footprints")
        azimuth = -labels[0].dxf.rotation * math.pi / 180
        light = (math.sin(azimuth), math.cos(azimuth))
        lean = (shape.centroid.x - centre.x, shape.centroid.y - centre.y)
        if lean[0] * light[0] + lean[1] * light[1] <= 0:
            found.append(f"{time}: the shadow does not point away from the sun")
        hour = int(time.split(":")[0])
        if (hour < 12 and light[0] >= 0) or (hour > 12 and light[0] <= 0):
            found.append(f"{time}: light travelling {light} at that hour")
        if light[1] <= 0:
            found.append(f"{time}: a winter shadow must fall to the north")
        label = labels[0].dxf.align_point if labels[0].dxf.halign else labels[0].dxf.insert
        if shape.distance(Point(label.x, label.y)) <= 0:
            found.append(f"{time}: the label lies on the outline")
    if "8:00" in areas and "12:00" in areas and areas["8:00"] <= areas["12:00"]:
        found.append(f"the 8:00 shadow ({areas['8:00']:.0f}) is not larger than noon's")
    extra = {e.dxf.color for e in shadow} - set(range(1, len(times) + 1))
    if extra:
        found.append(f"entities in colours {sorted(extra)} beyond the moments")
    return found


if __name__ == "__main__":
    issues = check(sys.argv[1], sys.argv[2], sys.argv[3:])
    print("\n".join(issues) if issues else "OK")
    sys.exit(1 if issues else 0)
