"""Reads each DXF file given with an independent library and audits it.

usage: ezdxf_check.py FILE...
Prints "FILE: ok" or "FILE: <problem>" per file; exits 1 when any file fails.
"""
import sys

import ezdxf


def check(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # any failure to read is a finding
        return f"cannot read: {exc}"
    auditor = doc.audit()
    if auditor.has_errors:
        return "audit errors: " + "; ".join(e.message for e in auditor.errors[:5])
    return None


def main():
    failed = False
    for path in sys.argv[1:]:
        problem = check(path)
        print(f"{path}: {problem or 'ok'}")
        failed = failed or problem is not None
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
