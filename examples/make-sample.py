#!/usr/bin/python3
"""Writes examples/sample.dxf: a small site for trying the host program by hand and in tests.

Buildings are closed polylines with elevation and thickness on SUN-BUILDING; windows are
"_SUNWD" block references on SUN-WINDOW, the block drawn in unit size as
docs/drawing-conventions.md describes it (x -0.5..0.5 across the window, y 0..1 into the wall,
z 0..1 up; the pane a 3DFACE at y = 0, the two wall faces lines) and scaled by width, depth and
height, with FLOOR, NUMBER and LABEL attributes. Windows above each other share their NUMBER.
Lengths in millimetres, and the header says so ($INSUNITS 4). Run with Debian's interpreter:
/usr/bin/python3.
"""
import sys

import ezdxf

BUILDINGS = [  # outline, thickness
    ([(0, 0), (30000, 0), (30000, 12000), (0, 12000)], 18000),
    ([(0, -40000), (24000, -40000), (24000, -28000), (0, -28000)], 30000),
    ([(40000, 0), (52000, 0), (52000, 20000), (46000, 20000), (46000, 8000), (40000, 8000)], 9000),
    ([(40000, -30000), (43000, -30000), (43000, -27000), (40000, -27000)], 5),  # a low shed
]
WINDOWS = [  # x on the south wall of the first building, floor, number, label
    (5000, 1, 1, "1-1"),
    (5000, 3, 1, "1-1"),
    (15000, 2, 2, "1-2"),
]
FLOOR_HEIGHT = 3000.0
SILL = 900.0


def window_block(doc):
    blk = doc.blocks.new("_SUNWD")
    blk.add_3dface([(-0.5, 0, 0), (0.5, 0, 0), (0.5, 0, 1), (-0.5, 0, 1)])  # the pane
    blk.add_line((-0.5, 0), (0.5, 0))  # the outer face of the wall
    blk.add_line((-0.5, 1), (0.5, 1))  # the inner face
    for i, tag in enumerate(["FLOOR", "NUMBER", "LABEL"]):
        flags = 0 if tag == "LABEL" else 1  # floor and number hidden, the label shown
        blk.add_attdef(tag, insert=(-0.5, -0.5 * (i + 1)), dxfattribs={"height": 0.25, "flags": flags})


def main(path):
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = 4  # millimetres, as the site is drawn
    doc.layers.add("SUN-BUILDING", color=8)
    doc.layers.add("SUN-WINDOW", color=4)
    window_block(doc)
    msp = doc.modelspace()
    for outline, thickness in BUILDINGS:
        msp.add_lwpolyline(outline, close=True,
                           dxfattribs={"layer": "SUN-BUILDING", "thickness": thickness})
    for x, floor, number, label in WINDOWS:
        z = (floor - 1) * FLOOR_HEIGHT + SILL
        ref = msp.add_blockref("_SUNWD", (x, 0, z), dxfattribs={
            "layer": "SUN-WINDOW", "xscale": 1800, "yscale": 200, "zscale": 1500})
        ref.add_auto_attribs({"FLOOR": str(floor), "NUMBER": str(number), "LABEL": label})
    msp.add_line((-5000, -50000), (60000, -50000))  # a road edge on layer 0
    msp.add_circle((35000, -15000), 2000)          # a tree
    doc.saveas(path, encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "examples/sample.dxf")
