#!/usr/bin/env python3
"""Checks shadow polygons against shapely's own construction of the same shadows.

Reads the JSON that ShadowPolyTest writes: for each case the obstruction (a prism or faces),
the light, the plane and the polygons the library made. Prints one verdict line per case,
"NAME: ok" or "NAME: <problem>", and exits non-zero when any case fails.

Expected shadows are built here independently: a prism as the union of its projected bottom,
top and every wall quad; a face as its projected triangles, each cut by the line along which
the triangle meets the plane (found in the projection, not in 3D).
"""
import json
import sys

from shapely.geometry import MultiPolygon, Polygon, box
from shapely.ops import unary_union

REL = 1e-6


def project(p, light, plane):
    h = p[2] - plane
    return (p[0] + h * light[0] / -light[2], p[1] + h * light[1] / -light[2])


def prism_shadow(case):
    light, plane = case["light"], case["plane"]
    e, h = case["elevation"], case["height"]
    base, top = min(e, e + h), max(e, e + h)
    low = max(base, plane)
    if top - low <= 1e-9 * max(1.0, abs(plane), abs(top)) or light[2] >= 0:
        return Polygon()
    ring = [tuple(p) for p in case["outline"]]
    if ring[0] == ring[-1]:
        ring = ring[:-1]
    at = lambda z: [project((x, y, z), light, plane) for x, y in ring]
    pieces = [Polygon(at(low)), Polygon(at(top))]
    lo, hi = at(low), at(top)
    for i in range(len(ring)):
        j = (i + 1) % len(ring)
        quad = Polygon([lo[i], lo[j], hi[j], hi[i]])
        if quad.is_valid and quad.area > 0:
            pieces.append(quad)
    return unary_union([p for p in pieces if p.area > 0])


def triangle_shadow(tri, light, plane):
    flat = [project(p, light, plane) for p in tri]
    poly = Polygon(flat)
    if poly.area <= 0:
        return Polygon()
    # z over the projected triangle is affine: z = a u + b v + c; keep where z >= plane.
    (u0, v0), (u1, v1), (u2, v2) = flat
    z0, z1, z2 = (p[2] for p in tri)
    det = (u1 - u0) * (v2 - v0) - (u2 - u0) * (v1 - v0)
    a = ((z1 - z0) * (v2 - v0) - (z2 - z0) * (v1 - v0)) / det
    b = ((u1 - u0) * (z2 - z0) - (u2 - u0) * (z1 - z0)) / det
    c = z0 - a * u0 - b * v0
    if max(z0, z1, z2) - plane <= 1e-9 * max(1.0, abs(plane), abs(max(z0, z1, z2))):
        return Polygon()
    if min(z0, z1, z2) >= plane:
        return poly
    minx, miny, maxx, maxy = poly.bounds
    size = 4 * max(maxx - minx, maxy - miny) + 1
    cx, cy = (minx + maxx) / 2, (miny + maxy) / 2
    # the half plane a u + b v + c >= plane, as a large polygon around the triangle
    g = (a * a + b * b) ** 0.5
    nx, ny = a / g, b / g
    d = (plane - c) / g  # the line n . (u, v) = d
    px, py = cx - ((nx * cx + ny * cy) - d) * nx, cy - ((nx * cx + ny * cy) - d) * ny
    tx, ty = -ny, nx
    half = Polygon([(px + tx * size, py + ty * size), (px - tx * size, py - ty * size),
                    (px - tx * size + nx * size, py - ty * size + ny * size),
                    (px + tx * size + nx * size, py + ty * size + ny * size)])
    return poly.intersection(half)


def faces_shadow(case):
    light, plane = case["light"], case["plane"]
    if light[2] >= 0:
        return Polygon()
    parts = []
    for face in case["faces"]:
        tris = [face[0:3]] + ([[face[0], face[2], face[3]]] if len(face) == 4 else [])
        parts += [triangle_shadow(t, light, plane) for t in tris]
    parts = [p for p in parts if p.area > 0]
    return unary_union(parts) if parts else Polygon()


def union_shadow(case):
    polys = [to_polygon(p) for shape in case["shapes"] for p in shape]
    return unary_union(polys) if polys else Polygon()


def to_polygon(p):
    return Polygon(p["outer"], p["holes"])


def signed_area(ring):
    return sum(ring[i][0] * ring[(i + 1) % len(ring)][1] - ring[(i + 1) % len(ring)][0] * ring[i][1]
               for i in range(len(ring))) / 2


def form_problems(result):
    for k, p in enumerate(result):
        rings = [p["outer"]] + p["holes"]
        for r, ring in enumerate(rings):
            if len(ring) < 3:
                return f"polygon {k} ring {r} has {len(ring)} points"
            if ring[0] == ring[-1]:
                return f"polygon {k} ring {r} repeats its closing point"
            if (signed_area(ring) > 0) != (r == 0):
                return f"polygon {k} ring {r} runs the wrong way round"
        if not to_polygon(p).is_valid:
            return f"polygon {k} is not valid"
    polys = [to_polygon(p) for p in result]
    total = sum(p.area for p in polys)
    if polys and abs(unary_union(polys).area - total) > 1e-9 * total:
        return "polygons overlap"
    return None


def check(case):
    result = case["result"]
    problem = form_problems(result)
    if problem:
        return problem
    if case.get("validOnly"):
        return None
    kind = case["kind"]
    expected = {"prism": prism_shadow, "faces": faces_shadow, "union": union_shadow}[kind](case)
    ours = MultiPolygon([to_polygon(p) for p in result]) if result else Polygon()
    if expected.is_empty or expected.area == 0:
        return None if ours.is_empty else f"shadow of area {ours.area} where none is cast"
    if ours.is_empty:
        return f"no shadow where one of area {expected.area} is cast"
    area = expected.area
    if abs(ours.area - area) > REL * area:
        return f"area {ours.area!r} against {area!r}"
    if ours.symmetric_difference(expected).area > REL * area:
        return f"outline differs by an area of {ours.symmetric_difference(expected).area!r}"
    minx, miny, maxx, maxy = expected.bounds
    extent = max(maxx - minx, maxy - miny)
    gap = ours.boundary.hausdorff_distance(expected.boundary)
    if gap > REL * extent:
        return f"outlines {gap!r} apart"
    return None


def main():
    with open(sys.argv[1]) as f:
        cases = json.load(f)["cases"]
    failed = False
    for case in cases:
        try:
            problem = check(case)
        except Exception as e:  # a case the checker cannot read fails, it does not stop the rest
            problem = f"checker error {e!r}"
        print(f"{case['name']}: {problem or 'ok'}")
        failed = failed or problem is not None
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
