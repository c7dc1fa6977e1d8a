"""Compares drawings before and after a load and save through the database, with ezdxf.

usage: db_roundtrip_check.py LISTFILE
LISTFILE holds lines "ORIGINAL<TAB>SAVED". For each pair the saved file must:
  - pass ezdxf's audit with nothing to fix;
  - hold the same entities in model space and in every block (type, layer, geometry, xdata),
    the same table entries and the same kinds of objects.
Prints "SAVED: ok" or "SAVED: <problem>" per pair; exits 1 when any pair fails.
"""
import math
import re
import sys
from collections import Counter

import ezdxf

# Attributes whose values are compared, per entity type; the rest is compared by type only.
POINTS = ("start", "end", "center", "insert", "location", "align_point", "vtx0", "vtx1", "vtx2", "vtx3",
          "text_midpoint", "defpoint")
NUMBERS = ("radius", "start_angle", "end_angle", "height", "rotation", "thickness", "elevation",
           "xscale", "yscale", "zscale", "const_width", "flags")
TEXTS = ("layer", "text", "name", "tag", "style")


def unescape(text):
    """Text with \\U+XXXX escapes decoded, as every reader shows it."""
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def close(a, b):
    return math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-9)


def entity_key(e):
    """A comparable description of one entity."""
    d = e.dxf
    desc = [e.dxftype()]
    def value(name):
        # Unset attributes read as their DXF default: writing a default or leaving it out is the same.
        if not d.is_supported(name):
            return None
        return d.get(name) if d.hasattr(name) else d.get_default(name)

    for name in TEXTS:
        if value(name) is not None:
            desc.append((name, unescape(str(value(name)))))
    for name in NUMBERS:
        v = value(name)
        if isinstance(v, (int, float)):
            desc.append((name, round(float(v), 6)))
    for name in POINTS:
        v = value(name)
        if v is not None:
            desc.append((name, tuple(round(c, 6) for c in v)))
    if e.dxftype() == "LWPOLYLINE":
        desc.append(("points", tuple(tuple(round(c, 6) for c in p) for p in e.get_points("xyb"))))
        desc.append(("closed", e.closed))
    if e.dxftype() == "POLYLINE":
        desc.append(("vertices", tuple(tuple(round(c, 6) for c in v.dxf.location) for v in e.vertices)))
    if e.dxftype() == "INSERT":
        desc.append(("attribs", tuple((a.dxf.tag, a.dxf.text) for a in e.attribs)))
    xdata = []
    if e.xdata is not None:
        for app in sorted(e.xdata.data):
            if app == "SOLX_TYPE":
                continue
            xdata.append((app, tuple((t.code, str(t.value)) for t in e.xdata.get(app))))
    desc.append(("xdata", tuple(xdata)))
    return tuple(desc)


def layout_keys(layout):
    return [entity_key(e) for e in layout]


def compare(orig_path, saved_path):
    try:
        saved = ezdxf.readfile(saved_path)
    except Exception as exc:
        return f"cannot read: {exc}"
    orig = ezdxf.readfile(orig_path)
    problem = compare_content(orig, saved)
    if problem:
        return problem
    # Faults the input already had (an invalid layer name, say) are not ours to hide.
    orig_audit = orig.audit()
    known = {m.message for m in orig_audit.errors + orig_audit.fixes}
    auditor = saved.audit()
    items = [m.message for m in auditor.errors + auditor.fixes if m.message not in known]
    return "audit: " + "; ".join(items[:4]) if items else None


def compare_content(orig, saved):
    if layout_keys(orig.modelspace()) != layout_keys(saved.modelspace()):
        return "model space differs: " + first_difference(layout_keys(orig.modelspace()),
                                                          layout_keys(saved.modelspace()))
    for block in orig.blocks:
        if block.name.lower().startswith(("*model_space", "*paper_space")):
            continue
        other = saved.blocks.get(block.name)
        if other is None:
            return f"block {block.name} missing"
        if layout_keys(block) != layout_keys(other):
            return f"block {block.name} differs: " + first_difference(layout_keys(block), layout_keys(other))
    for table in ("layers", "linetypes", "styles", "appids", "dimstyles", "ucs", "views"):
        names = {e.dxf.name.lower() for e in getattr(orig, table)}
        missing = names - {e.dxf.name.lower() for e in getattr(saved, table)}
        if missing:
            return f"{table} missing: {sorted(missing)[:5]}"
    for layer in orig.layers:
        other = saved.layers.get(layer.dxf.name)
        if layer.dxf.color != other.dxf.color or layer.is_frozen() != other.is_frozen():
            return f"layer {layer.dxf.name} changed"
    for style in orig.dimstyles:
        other = saved.dimstyles.get(style.dxf.name)
        if style.dxf.get("dimblk", "") != other.dxf.get("dimblk", ""):
            return f"dimension style {style.dxf.name} lost its arrow block"
    kinds = Counter(o.dxftype() for o in orig.objects)
    kinds_saved = Counter(o.dxftype() for o in saved.objects)
    if any(kinds_saved[k] < n for k, n in kinds.items()):
        return f"objects differ: {dict(kinds)} vs {dict(kinds_saved)}"
    return None


def first_difference(a, b):
    if len(a) != len(b):
        return f"{len(a)} vs {len(b)} entities"
    for x, y in zip(a, b):
        if x != y:
            return f"{x} vs {y}"
    return "?"


def main():
    failed = 0
    with open(sys.argv[1], encoding="utf-8") as f:
        pairs = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    for orig, saved in pairs:
        try:
            problem = compare(orig, saved)
        except Exception as exc:  # the checker must report, not crash, on odd files
            problem = f"checker failed: {exc!r}"
        print(f"{saved}: {problem or 'ok'}")
        failed += problem is not None
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
