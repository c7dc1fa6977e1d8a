"""Writes sample drawings with an independent DXF library, for the round-trip tests.

usage: make_ezdxf_samples.py OUTDIR
Prints one line per file written.
"""
import os
import sys

import ezdxf


def modern(path):
    doc = ezdxf.new("R2018", setup=True)
    msp = doc.modelspace()
    msp.add_mtext("第一行\\P second line with ümlauts", dxfattribs={"char_height": 2.5})
    msp.add_spline([(0, 0), (10, 5), (20, -5), (30, 0)])
    dim = msp.add_linear_dim(base=(0, 10), p1=(0, 0), p2=(30, 0))
    dim.render()
    msp.add_lwpolyline([(0, 0), (10, 0), (10, 10)], close=True,
                       dxfattribs={"elevation": 3.0, "thickness": 9.0})
    msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 3)])
    xrec = doc.objects.add_xrecord(doc.rootdict.dxf.handle)
    xrec.extend([(1, "text"), (40, 1.5), (310, b"\x00\x01\xfe\xff" * 20)])
    doc.rootdict["SOLX_SAMPLE"] = xrec
    layout = doc.layouts.new("Sheet 2")
    layout.add_circle((5, 5), 3)
    blk = doc.blocks.new("_SAMPLE")
    blk.add_attdef("FLOOR", (0, 0))
    ref = msp.add_blockref("_SAMPLE", (1, 2))
    ref.add_attrib("FLOOR", "3", (0, 0))
    doc.saveas(path)


def gbk(path, version):
    doc = ezdxf.new(version)
    doc.encoding = "gbk"
    doc.header["$DWGCODEPAGE"] = "ANSI_936"
    msp = doc.modelspace()
    doc.layers.add("日照窗")
    msp.add_text("中文文字", dxfattribs={"layer": "日照窗"})
    msp.add_line((0, 0), (1, 1))
    doc.saveas(path, encoding="gbk")


def binary(path):
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_text("binary 二进制", dxfattribs={"height": 2})
    msp.add_line((0.1, 0.2, 0.3), (1e-9, -123456.789, 7))
    doc.saveas(path, fmt="bin")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    jobs = {
        "modern_r2018.dxf": modern,
        "gbk_r12.dxf": lambda p: gbk(p, "R12"),
        "gbk_r2000.dxf": lambda p: gbk(p, "R2000"),
        "binary_r2010.dxf": binary,
    }
    for name, job in jobs.items():
        path = os.path.join(out, name)
        job(path)
        print(path)


if __name__ == "__main__":
    main()
