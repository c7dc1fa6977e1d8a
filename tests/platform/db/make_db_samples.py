"""Writes drawings with features the database models only in part, for round-trip tests.

usage: make_db_samples.py OUTDIR
Prints the path of every file written.
"""
import os
import sys

import ezdxf


def add_common(doc):
    """Typed entities carrying other applications' data and codes we do not model."""
    doc.appids.new("OTHER_APP")
    msp = doc.modelspace()
    doc.layers.add("WALLS", color=3)
    r12 = doc.dxfversion == "AC1009"
    line = msp.add_line((0, 0, 0), (10, 5, 2), dxfattribs={"layer": "WALLS"} if r12 else
                        {"layer": "WALLS", "lineweight": 35})
    line.set_xdata("OTHER_APP", [(1000, "kept"), (1040, 2.5), (1070, 7), (1010, (1, 2, 3))])
    if not r12:
        pl = msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0), (10, 10)], format="xyseb", close=True,
                                dxfattribs={"elevation": 3.0, "thickness": 9.0, "true_color": 0x123456})
        pl.set_xdata("OTHER_APP", [(1000, "slab-like")])
    msp.add_circle((5, 5, 1), 2.5, dxfattribs={"color": 1})
    msp.add_arc((0, 0), 4, 30, 120)
    msp.add_text("Text 日照", dxfattribs={"height": 3.5, "rotation": 30}).set_placement(
        (2, 3), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1), (0, 1, 1)])
    msp.add_point((4, 4, 4))
    msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 3)])
    msp.add_polyline2d([(0, 0), (5, 0), (5, 5)], dxfattribs={"elevation": (0, 0, 2)})
    mesh = msp.add_polyface()
    mesh.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0)])
    blk = doc.blocks.new("WIN")
    blk.add_line((0, 0), (1, 0))
    blk.add_attdef("FLOOR", (0, 0), dxfattribs={"height": 2})
    ref = msp.add_blockref("WIN", (3, 4), dxfattribs={"rotation": 90, "xscale": 2, "yscale": 2})
    ref.add_attrib("FLOOR", "3", (3, 4))
    return msp


def modern(path):
    doc = ezdxf.new("R2010", setup=True)
    msp = add_common(doc)
    msp.add_mtext("first\\Psecond", dxfattribs={"char_height": 2.5})
    msp.add_spline([(0, 0), (10, 5), (20, -5), (30, 0)])
    msp.add_linear_dim(base=(0, 10), p1=(0, 0), p2=(30, 0)).render()
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 0), (4, 0), (4, 4)], is_closed=True)
    xrec = doc.objects.add_xrecord(doc.rootdict.dxf.handle)
    xrec.extend([(1, "text"), (40, 1.5), (310, b"\x00\x01\xfe\xff" * 20)])
    doc.rootdict["OTHER_DATA"] = xrec
    doc.groups.new("NAMED").extend([e for e in msp.query("CIRCLE ARC")])
    layout = doc.layouts.new("Sheet 2")
    layout.add_circle((5, 5), 3)
    doc.saveas(path)


def old(path, version):
    doc = ezdxf.new(version)
    add_common(doc)
    if version == "R12":
        # Every table of an old drawing: an R12 dimension style names its arrow block with
        # group code 5, the code that is a handle everywhere else.
        doc.dimstyles.new("ARCH", dxfattribs={"dimblk": "ARCHTICK", "dimtxt": 2.5})
        doc.ucs.new("FACADE", dxfattribs={"origin": (10, 0, 0), "xaxis": (1, 0, 0),
                                          "yaxis": (0, 0, 1)})
        doc.views.new("SITE", dxfattribs={"height": 40, "width": 60, "center": (5, 5)})
        doc.styles.new("CJK", dxfattribs={"font": "txt", "bigfont": "gbcbig.shx"})
    doc.saveas(path)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    jobs = {"features_r2010.dxf": modern, "plain_r2000.dxf": lambda p: old(p, "R2000"),
            "plain_r12.dxf": lambda p: old(p, "R12")}
    for name, job in jobs.items():
        path = os.path.join(out, name)
        job(path)
        print(path)


if __name__ == "__main__":
    main()
