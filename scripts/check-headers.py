#!/usr/bin/python3
"""Compiles every header of src/ on its own, so a header that leans on what its includers happened
to include before it (a missing <cstddef>, say) is found.

usage: check-headers.py [BUILD_DIR] [-j N]

Each header is compiled with -fsyntax-only and the flags of the library that owns it, taken from
BUILD_DIR/compile_commands.json: the interfaces a layer implements are compiled with that layer's
flags, so a header that reaches into a higher layer fails here too. Then checks that each layer's
include root really hides the layers above it. Prints one line per failure (with the compiler's
first error); exits 1 when any fails.
"""
import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Which library's flags a header folder is compiled with (the first matching prefix wins).
OWNERS = [
    ("src/interfaces/acad/", "src/platform/"),
    ("src/interfaces/mfc/", "src/platform/"),
    ("src/interfaces/plot/", "src/platform/"),
    ("src/interfaces/render/", "src/platform/"),
    ("src/interfaces/brel/", "src/productline/"),
    ("src/interfaces/solx/", "src/siblings/"),
    ("src/containers/", "src/siblings/"),
    ("src/platform/wxui/", "src/platform/wxui/"),
    ("src/platform/wxhost/", "src/platform/wxhost/"),
    ("src/platform/", "src/platform/"),
    ("src/productline/", "src/productline/"),
    ("src/siblings/", "src/siblings/"),
    ("src/host/", "src/host/"),
    ("src/ui/", "src/host/"),
    ("src/analysis/", "src/host/"),
    ("src/simulation/", "src/host/"),
    ("src/equalhour/", "src/host/"),
]

# Folders of libraries built only when their toolkit is found: skipped when not built.
OPTIONAL = {"src/platform/wxui/", "src/platform/wxhost/"}

DROP_WITH_VALUE = {"-o", "-MT", "-MF", "-MQ"}
DROP = {"-c", "-MD", "-MMD"}


def flags_by_folder(build_dir):
    """For each owner folder, the compile flags of one of its sources (without output options)."""
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as f:
        commands = json.load(f)
    found = {}
    for entry in commands:
        source = os.path.relpath(entry["file"], ROOT)
        owner = next((o for _, o in OWNERS if source.startswith(o)), None)
        if owner is None or owner in found:
            continue
        args = entry.get("arguments") or shlex.split(entry["command"])
        if os.path.basename(args[0]) == "ccache":
            args = args[1:]
        kept, skip = [], False
        for a in args:
            if skip:
                skip = False
            elif a in DROP_WITH_VALUE:
                skip = True
            elif a not in DROP and os.path.abspath(os.path.join(entry["directory"], a)) != entry["file"]:
                kept.append(a)
        found[owner] = (entry["directory"], kept)
    return found


def check(header, directory, flags):
    # Through a one-line source, as an includer sees it (a header compiled as the main file
    # warns about its own #pragma once).
    cmd = flags + ["-fsyntax-only", "-x", "c++", "-"]
    source = f'#include "{os.path.join(ROOT, header)}"\n'
    r = subprocess.run(cmd, cwd=directory, input=source, capture_output=True, text=True)
    if r.returncode == 0:
        return None
    first = next((l for l in r.stderr.splitlines() if "error" in l), r.stderr.strip()[:200])
    return f"{header}: {first}"


# Headers a layer must not be able to include: each layer sees only itself and the layers below.
FORBIDDEN = [
    ("src/platform/", "brel/VxDbSheet.h"),
    ("src/platform/", "solx/SolxDate.h"),
    ("src/platform/", "containers/VxList.h"),
    ("src/platform/", "host/SolxModule.h"),
    ("src/productline/", "solx/SolxDate.h"),
    ("src/productline/", "analysis/WinSunAna.h"),
    ("src/siblings/", "ui/CWinTableDlg.h"),
    ("src/siblings/", "simulation/SolxSample.h"),
]


def reaches(owner, header, flags):
    directory, args = flags[owner]
    cmd = args + ["-fsyntax-only", "-x", "c++", "-"]
    r = subprocess.run(cmd, cwd=directory, input=f'#include "{header}"\n', capture_output=True,
                       text=True)
    return r.returncode == 0


def main():
    args = sys.argv[1:]
    jobs = 2
    if "-j" in args:
        i = args.index("-j")
        jobs = int(args[i + 1])
        del args[i:i + 2]
    build_dir = os.path.abspath(args[0] if args else os.path.join(ROOT, "build"))
    flags = flags_by_folder(build_dir)
    work = []
    for folder, _, files in os.walk(os.path.join(ROOT, "src")):
        for name in sorted(files):
            if not name.endswith(".h"):
                continue
            header = os.path.relpath(os.path.join(folder, name), ROOT)
            owner = next((o for prefix, o in OWNERS if header.startswith(prefix)), None)
            if owner in OPTIONAL and owner not in flags:
                continue  # an optional part this build leaves out
            if owner is None or owner not in flags:
                print(f"{header}: no library compiles this folder", file=sys.stderr)
                return 1
            work.append((header, *flags[owner]))
    with ThreadPoolExecutor(max_workers=jobs) as pool:
        failures = [f for f in pool.map(lambda w: check(*w), sorted(work)) if f]
    for owner, header in FORBIDDEN:
        if reaches(owner, header, flags):
            failures.append(f"{owner}: can include \"{header}\" of a higher layer")
    for f in failures:
        print(f)
    print(f"check-headers: {len(work)} headers, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
