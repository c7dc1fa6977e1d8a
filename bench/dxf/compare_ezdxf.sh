#!/usr/bin/env bash
# Generates a district drawing, then loads it with our reader (and saves it) and with ezdxf,
# timing both and measuring their peak memory in the same run.
#   bench/dxf/compare_ezdxf.sh [BUILD_DIR] [SIZE_MB]     (defaults: build, 50)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
size=${2:-50}
work=$(mktemp -d /tmp/solx-dxf-compare-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bin/dxfgen" --size-mb "$size" --floors 10 --out "$work/city.dxf"
bytes=$(stat -c %s "$work/city.dxf")

peak() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
wall() { sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$1"; }

/usr/bin/time -v "$build/bin/dxfstat" "$work/city.dxf" --save "$work/saved.dxf" \
  >"$work/ours.out" 2>"$work/ours.time"
/usr/bin/time -v /usr/bin/python3 -c '
import sys, time, ezdxf
start = time.perf_counter()
ezdxf.readfile(sys.argv[1])
print("ezdxf load %.3f s" % (time.perf_counter() - start))
' "$work/city.dxf" >"$work/ezdxf.out" 2>"$work/ezdxf.time"

ours=$(sed -n 's/.*load \([0-9.]*\) s.*/\1/p' "$work/ours.out")
save=$(sed -n 's/.*save \([0-9.]*\) s.*/\1/p' "$work/ours.out")
theirs=$(sed -n 's/ezdxf load \([0-9.]*\) s/\1/p' "$work/ezdxf.out")
awk -v b="$bytes" -v o="$ours" -v s="$save" -v t="$theirs" \
    -v po="$(peak "$work/ours.time")" -v pt="$(peak "$work/ezdxf.time")" \
    -v wo="$(wall "$work/ours.time")" -v wt="$(wall "$work/ezdxf.time")" 'BEGIN {
  printf "file            %.1f MB (%d bytes)\n", b / 1048576, b
  printf "our load        %.3f s   (save %.3f s, process wall %s)\n", o, s, wo
  printf "ezdxf load      %.3f s   (process wall %s)\n", t, wt
  printf "speed-up        %.1fx\n", t / o
  printf "our peak RSS    %.1f MB = %.2fx the file (load and save)\n", po / 1024, po * 1024 / b
  printf "ezdxf peak RSS  %.1f MB = %.2fx the file\n", pt / 1024, pt * 1024 / b
}'
