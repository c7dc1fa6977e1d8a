"""Reads a drawing saved after "VxSunSPoint" with ezdxf and prints what the command left:
the current layer, then one line per marker on SUN-SHADOW: its typed tag, insertion point, text
switch, the text drawn in its block (or "-") and the text it keeps."""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
print("CLAYER", doc.header.get("$CLAYER", "0"))
for e in doc.modelspace().query('INSERT[layer=="SUN-SHADOW"]'):
    tag = e.get_xdata("SOLX_TYPE") if e.has_xdata("SOLX_TYPE") else []
    values = [t.value for t in tag]
    drawn = [v.dxf.text for v in e.virtual_entities() if v.dxftype() == "TEXT"]
    x, y, z = e.dxf.insert
    print("MARKER", values[0] if values else "untyped", f"{x:.0f},{y:.0f},{z:.0f}",
          values[5] if len(values) > 5 else "?", drawn[0] if drawn else "-",
          values[6] if len(values) > 6 else "?", sep="|")
