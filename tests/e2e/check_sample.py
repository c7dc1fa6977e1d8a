#!/usr/bin/python3
"""Checks with ezdxf that a drawing saved by solx still holds the sample site unchanged.

Usage: check_sample.py FILE.dxf. Prints "OK" and exits 0, or prints what differs and exits 1.
"""
import sys

import ezdxf


def problems(path):
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    found = []
    slabs = sorted(e.dxf.thickness for e in msp.query('LWPOLYLINE[layer=="SUN-BUILDING"]')
                   if e.closed)
    if slabs != [5, 9000, 18000, 30000]:
        found.append(f"building thicknesses {slabs}")
    windows = msp.query('INSERT[name=="_SUNWD"]')
    labels = sorted(w.get_attrib_text("LABEL") for w in windows)
    if labels != ["1-1", "1-1", "1-2"]:
        found.append(f"window labels {labels}")
    if any(w.dxf.layer != "SUN-WINDOW" or w.dxf.xscale != 1800 for w in windows):
        found.append("window layer or scale changed")
    if len(msp.query("LINE")) != 1 or len(msp.query("CIRCLE")) != 1:
        found.append("line or circle missing")
    if "_SUNWD" not in doc.blocks:
        found.append("window block definition missing")
    return found


if __name__ == "__main__":
    issues = problems(sys.argv[1])
    print("\n".join(issues) if issues else "OK")
    sys.exit(1 if issues else 0)
