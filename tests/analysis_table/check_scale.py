"""Reads back what solx saved, with ezdxf and the csv module (not our code).

check_scale.py scale DXF            prints N of the stored drawing scale (or "none")
check_scale.py height DXF           prints the height of the window tables' extents (all tables)
check_scale.py csv DXF CSV          compares the CSV with the texts of the tables in DXF; "OK"
"""
import collections
import csv
import sys

import ezdxf
from ezdxf import bbox


def tables(doc):
    for e in doc.modelspace().query("INSERT"):
        if e.has_xdata("SOLX_TYPE") and e.get_xdata("SOLX_TYPE")[0][1] == "BREL_SHEET":
            yield e


def scale(doc):
    nod = doc.rootdict
    if "SOLX_DRAWINGSCALE" not in nod:
        return "none"
    tags = list(nod["SOLX_DRAWINGSCALE"].tags)
    for i, t in enumerate(tags[:-1]):
        if t.code == 300 and t.value == "SCALE" and tags[i + 1].code == 40:
            return "%g" % tags[i + 1].value
    return "none"


def height(doc):
    box = bbox.extents(tables(doc))
    return "%.6f" % (box.extmax.y - box.extmin.y)


def table_texts(doc):
    texts = collections.Counter()
    for insert in tables(doc):
        for e in doc.blocks[insert.dxf.name]:
            if e.dxftype() in ("TEXT", "MTEXT"):
                texts[e.dxf.text if e.dxftype() == "TEXT" else e.text] += 1
    return texts


def csv_texts(path):
    with open(path, encoding="utf-8", newline="") as f:
        raw = f.read()
    if not raw.startswith("\ufeff"):
        return None, "no byte-order mark"
    rows = list(csv.reader(raw[1:].splitlines(keepends=True)))
    texts = collections.Counter()
    for row in rows[1:]:  # the first line is the note
        for cell in row:
            for line in cell.split("\n"):
                if line:
                    texts[line] += 1
    return texts, rows[0][0]


def main():
    doc = ezdxf.readfile(sys.argv[2])
    if sys.argv[1] == "scale":
        print(scale(doc))
    elif sys.argv[1] == "height":
        print(height(doc))
    else:
        got, note = csv_texts(sys.argv[3])
        if got is None:
            print(note)
            return
        want = table_texts(doc)
        notes = [e.dxf.text for e in doc.modelspace().query("TEXT") if e.dxf.text == note]
        if got != want:
            print("CSV only:", dict(got - want), "DXF only:", dict(want - got))
        elif not notes:
            print("the note line is not the drawing's note")
        else:
            print("OK")


main()
