#!/usr/bin/env bash
# Opening a drawing as a user does: `solx --script /dev/null FILE` (read, load into the
# database, zoom, load the module, run an empty script, exit) against ezdxf.readfile on the same
# generated district, in the same run, with times and peak memory.
#   bench/db/compare_open.sh [BUILD_DIR] [BUILDINGS]     (defaults: build, 350 = about 48 MB)
# Besides the wall-clock time it reports the processor time (user + system) of each process:
# on a machine shared with other work the processor time is the steadier measure.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
buildings=${2:-350}
work=$(mktemp -d /tmp/solx-open-compare-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bin/district" --buildings "$buildings" "$work/district.dxf" >/dev/null
bytes=$(stat -c %s "$work/district.dxf")

measure() {  # OUT_PREFIX COMMAND...: runs once, keeps /usr/bin/time's report
  local prefix=$1
  shift
  /usr/bin/time -f '%e %U %S %M' -o "$prefix.time" "$@" >"$prefix.out" 2>"$prefix.err"
}
measure "$work/dxfstat" "$build/bin/dxfstat" "$work/district.dxf"
measure "$work/solx" "$build/bin/solx" --script /dev/null "$work/district.dxf"
measure "$work/ezdxf" /usr/bin/python3 -c 'import sys, ezdxf; ezdxf.readfile(sys.argv[1])' \
  "$work/district.dxf"

entities=$(sed -n 's/.*: \([0-9]*\) entities.*/\1/p' "$work/dxfstat.out")
read -r sw su ss sm <"$work/solx.time"
read -r dw du ds dm <"$work/dxfstat.time"
read -r ew eu es em <"$work/ezdxf.time"
awk -v b="$bytes" -v n="$entities" -v sw="$sw" -v su="$su" -v ss="$ss" -v sm="$sm" \
    -v dw="$dw" -v du="$du" -v ds="$ds" -v dm="$dm" \
    -v ew="$ew" -v eu="$eu" -v es="$es" -v em="$em" 'BEGIN {
  printf "file                 %.1f MB, %d entities\n", b / 1048576, n
  printf "                     wall s   cpu s   peak MB  peak/file\n"
  printf "solx --script null   %6.2f  %6.2f  %8.1f  %5.2fx\n", sw, su + ss, sm / 1024, sm * 1024 / b
  printf "dxfstat (tags only)  %6.2f  %6.2f  %8.1f  %5.2fx\n", dw, du + ds, dm / 1024, dm * 1024 / b
  printf "ezdxf.readfile       %6.2f  %6.2f  %8.1f  %5.2fx\n", ew, eu + es, em / 1024, em * 1024 / b
  printf "solx speed-up over ezdxf: %.1fx wall, %.1fx cpu\n", ew / sw, (eu + es) / (su + ss)
}'
