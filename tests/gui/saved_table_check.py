"""What a session added to a drawing, read by ezdxf: the window markers of the drawing as opened
and as saved, and the entities the saved drawing has beyond the opened one (the table and its
notes), with their extent.

Usage: saved_table_check.py OPENED.dxf SAVED.dxf
Prints lines "key value..." for the test to read."""
import sys

import ezdxf


def points(entity):
    kind = entity.dxftype()
    if kind == "LINE":
        return [entity.dxf.start, entity.dxf.end]
    if kind in ("TEXT", "MTEXT", "INSERT", "POINT"):
        return [entity.dxf.insert if kind != "POINT" else entity.dxf.location]
    if kind == "LWPOLYLINE":
        return [(p[0], p[1]) for p in entity.get_points()]
    return []


def markers(doc):
    return sum(1 for e in doc.modelspace().query("INSERT")
               if e.dxf.name == "_SUNWD" and e.dxf.layer == "SUN-WINDOW")


def signature(entity):
    pts = tuple((round(p[0], 3), round(p[1], 3)) for p in points(entity))
    return entity.dxftype(), entity.dxf.layer, pts


opened = ezdxf.readfile(sys.argv[1])
saved = ezdxf.readfile(sys.argv[2])
before = {signature(e) for e in opened.modelspace()}
added = [e for e in saved.modelspace() if signature(e) not in before]
# The tables are blocks: their rules and texts are read through the inserts, placed as drawn.
drawn = []
for e in added:
    drawn.extend(e.virtual_entities() if e.dxftype() == "INSERT" else [e])
texts = [e for e in drawn if e.dxftype() in ("TEXT", "MTEXT")]
lines = [e for e in drawn if e.dxftype() == "LINE" or e.dxftype() == "LWPOLYLINE"]
xs = [p[0] for e in drawn for p in points(e)]
ys = [p[1] for e in drawn for p in points(e)]

print("markers", markers(opened), markers(saved))
print("added", len(added), "drawn", len(drawn), "texts", len(texts), "lines", len(lines))
if xs:
    print("extent", min(xs), min(ys), max(xs), max(ys))
words = [e.dxf.text if e.dxftype() == "TEXT" else e.text for e in texts]
import collections
print("types", dict(collections.Counter((e.dxftype(), e.dxf.layer) for e in added)))
print("titles", sum(1 for w in words if "窗日照" in w))
