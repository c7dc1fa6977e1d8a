#!/usr/bin/env python3
"""Writes the hostile drawings of this folder: each one a file that once crashed, hung or saved
something unreadable. expected.txt says what solx must do with each; SolxHostileTest.cpp runs
them, and scripts/fuzz-smoke.sh seeds the drawing fuzzer with them. Run from anywhere."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def tags(*pairs):
    return "".join(f"{code}\n{value}\n" for code, value in pairs)


def section(name, body):
    return tags((0, "SECTION"), (2, name)) + body + tags((0, "ENDSEC"))


def drawing(blocks="", entities="", objects=""):
    text = ""
    if blocks:
        text += section("BLOCKS", blocks)
    text += section("ENTITIES", entities)
    if objects:
        text += section("OBJECTS", objects)
    return text + tags((0, "EOF"))


def block(name, body):
    return (tags((0, "BLOCK"), (8, "0"), (2, name), (70, 0), (10, 0), (20, 0), (30, 0), (3, name))
            + body + tags((0, "ENDBLK"), (8, "0")))


def insert(name, x=0, y=0, extra=()):
    return tags((0, "INSERT"), (8, "0"), (2, name), (10, x), (20, y), (30, 0), *extra)


def line(x0=0, y0=0, x1=10, y1=10, handle=None):
    head = [(0, "LINE")] + ([(5, handle)] if handle is not None else [])
    return tags(*head, (8, "0"), (10, x0), (20, y0), (30, 0), (11, x1), (21, y1), (31, 0))


FILES = {}

# A block that inserts itself; two blocks that insert each other; model space inserted in
# model space.
FILES["self_insert.dxf"] = drawing(block("A", line() + insert("A", 5, 5)), insert("A"))
FILES["mutual_insert.dxf"] = drawing(
    block("A", line() + insert("B", 1, 1)) + block("B", line(2, 2, 3, 3) + insert("A", 4, 4)),
    insert("A") + insert("B", 20, 0))
FILES["model_space_insert.dxf"] = drawing(entities=line() + insert("*Model_Space", 50, 50))

# Ten inserts a level, twelve levels: 10^12 lines through 13 small blocks.
nested = block("L0", line(0, 0, 1, 1))
for level in range(1, 13):
    nested += block(f"L{level}", "".join(insert(f"L{level - 1}", i * 2, 0) for i in range(10)))
FILES["exponential_nesting.dxf"] = drawing(nested, insert("L12"))

# A vertex count that is no allocation size.
FILES["lwpolyline_count.dxf"] = drawing(entities=tags(
    (0, "LWPOLYLINE"), (8, "0"), (100, "AcDbEntity"), (100, "AcDbPolyline"), (90, 2147483647),
    (70, 0), (10, 0), (20, 0), (10, 5), (20, 5)))

# Handles at the ends of their range, zero, repeated and missing; the named-objects dictionary
# with the largest handle.
FILES["handles.dxf"] = drawing(
    entities=line(handle="FFFFFFFFFFFFFFFF") + line(1, 1, 2, 2, handle="0")
    + line(2, 2, 3, 3, handle="2A") + line(3, 3, 4, 4, handle="2A") + line(4, 4, 5, 5)
    + line(5, 5, 6, 6, handle="7FFFFFFFFFFFFFFF"),
    objects=tags((0, "DICTIONARY"), (5, "FFFFFFFFFFFFFFFF"), (100, "AcDbDictionary")))

# A product-line table whose data claims 100,000 x 10,000 cells in a few bytes.
FILES["table_claim.dxf"] = drawing(
    block("*T1", line()),
    insert("*T1", extra=[(1001, "SOLX_TYPE"), (1000, "BREL_SHEET"), (1071, 100000),
                         (1071, 10000), (1040, 1.0)] + [(1040, 1.0)] * 20))

# Angles that once looped forever or overflowed to "inf" on saving.
FILES["arc_angles.dxf"] = drawing(block("B", line()), tags(
    (0, "ARC"), (8, "0"), (10, 0), (20, 0), (30, 0), (40, 10), (50, 0), (51, -1e17))
    + tags((0, "ARC"), (8, "0"), (10, 0), (20, 0), (30, 0), (40, 10), (50, "6e307"),
           (51, "1.7e308"))
    + tags((0, "TEXT"), (8, "0"), (10, 0), (20, 0), (30, 0), (40, 1), (1, "t"), (50, "6e307"))
    + insert("B", extra=[(50, "1e308")]))

# Values no reader takes back.
FILES["real_overflow.dxf"] = drawing(entities=tags(
    (0, "LINE"), (8, "0"), (10, "1e309"), (20, 0), (30, 0), (11, 1), (21, 1), (31, 0)))
FILES["real_400_digits.dxf"] = drawing(entities=tags(
    (0, "CIRCLE"), (8, "0"), (10, 0), (20, 0), (30, 0), (40, "9" * 400)))
FILES["int16_range.dxf"] = drawing(entities=tags(
    (0, "LINE"), (8, "0"), (62, 99999), (10, 0), (20, 0), (30, 0), (11, 1), (21, 1), (31, 0)))

# A table named like the end of a section: its records were written with that name as their
# type, and the saved file ended its TABLES section early.
FILES["table_named_endsec.dxf"] = (section("TABLES", tags(
    (0, "TABLE"), (2, "ENDSEC"), (70, 1), (0, "LAYER"), (2, "X"), (70, 0), (0, "ENDTAB")))
    + drawing(entities=line()))

# A block record without a name: saved as a BLOCK without a name, which no reader takes.
FILES["block_record_without_name.dxf"] = (section("TABLES", tags(
    (0, "TABLE"), (2, "BLOCK_RECORD"), (70, 1), (0, "BLOCK_RECORD"), (5, "1F"), (2, ""),
    (0, "ENDTAB"))) + drawing(entities=line()))

# A window block without an extrusion direction.
FILES["window_zero_extrusion.dxf"] = drawing(
    block("_SUNWD", line(0, 0, 1, 0)),
    insert("_SUNWD", 100, 100, extra=[(41, 1500), (42, 200), (43, 1800), (210, 0), (220, 0),
                                      (230, 0)]).replace("8\n0\n", "5\n3B\n8\nSUN-WINDOW\n", 1))

for name, text in FILES.items():
    with open(os.path.join(HERE, name), "w", newline="\n") as f:
        f.write(text)
