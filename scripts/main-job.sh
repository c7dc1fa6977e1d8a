#!/usr/bin/env bash
# The main job: solx runs the window sunlight analysis on two buildings of the sample district
# (examples/district.scr on examples/district.dxf), saves the result to out/district-result.dxf
# and draws its plan to out/district-result.png. The tables are drawn at the drawing scale (1:500
# by default), so they read on the picture of the whole site; the tables and the note are also
# drawn alone to out/district-table.png. The shadow fan of the district
# (examples/district-shadows.scr: the shadows of every building at 8:00, 9:00, ... 16:00, one
# colour and time label per moment) goes to out/district-shadows.dxf and out/district-shadows.png.
# The grid sunlight analysis of the courtyards (examples/district-grid.scr: hours of sunlight on the
# ground on a 2.5 m grid, as a coloured map with values and a legend) goes to
# out/district-grid.dxf and out/district-grid.png, and a close look at one courtyard with its
# values to out/district-grid-courtyard.png.
# The single-point queries of examples/district-spoint.scr go to out/district-spoint.dxf and .png.
# Then the short tour of the commands on the small sample site
# (examples/sample.scr) writes out/sample-result.dxf and out/sample-result.png.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${SOLX_BUILD_DIR:-build}
solx="$build_dir/bin/solx"
mkdir -p out

"$solx" --script examples/district.scr --out out/district-result.dxf \
    --plot out/district-result.png "$@" examples/district.dxf
# Keep only the tables and notes of the result (the entities tagged as product-line tables and
# texts), then draw that drawing.
/usr/bin/python3 - out/district-result.dxf out/district-table.dxf <<'PY'
import sys
import ezdxf

doc = ezdxf.readfile(sys.argv[1])
msp = doc.modelspace()
for e in list(msp):
    tag = e.get_xdata("SOLX_TYPE")[0][1] if e.has_xdata("SOLX_TYPE") else ""
    if tag not in ("BREL_SHEET", "VXDB_TEXT"):
        msp.delete_entity(e)
doc.saveas(sys.argv[2])
PY
"$solx" --plot out/district-table.png out/district-table.dxf </dev/null >/dev/null

"$solx" --script examples/district-shadows.scr --out out/district-shadows.dxf \
    --plot out/district-shadows.png "$@" examples/district.dxf >/dev/null

"$solx" --script examples/district-grid.scr --out out/district-grid.dxf \
    --plot out/district-grid.png "$@" examples/district.dxf >/dev/null
# The close look is drawn from the saved map: its cells are hatches read back from the file.
"$solx" --plot out/district-grid-courtyard.png --plot-area 95000,-8000 185000,40000 \
    out/district-grid.dxf </dev/null >/dev/null
# The single point on the district (examples/district-spoint.scr): the dynamic query with its tips,
# a click, a new height, picks answered Yes and No; the markers and the last tip are in the picture.
"$solx" --script examples/district-spoint.scr --out out/district-spoint.dxf \
    --plot out/district-spoint.png "$@" examples/district.dxf >out/district-spoint.txt
# The equal-hour lines of the district (examples/district-equal-hours.scr: the ground that gets
# less than 1, 2 and 3 hours of sun between 8:00 and 16:00, by the micro-region method) go to
# out/district-equal-hours.dxf and out/district-equal-hours.png.
"$solx" --script examples/district-equal-hours.scr --out out/district-equal-hours.dxf \
    --plot out/district-equal-hours.png "$@" examples/district.dxf >/dev/null
# The same levels by the fitting method (examples/district-equal-hours-fitted.scr: contour lines
# through the hours at points 2.5 m apart over the whole site, smoothed) go to
# out/district-equal-hours-fitted.dxf and out/district-equal-hours-fitted.png.
"$solx" --script examples/district-equal-hours-fitted.scr \
    --out out/district-equal-hours-fitted.dxf --plot out/district-equal-hours-fitted.png "$@" \
    examples/district.dxf >/dev/null
# The equal-hour lines on the outer walls of buildings 7 (two walls picked in turn) and 8 (the
# whole slab) of the district (examples/district-facade.scr): the unfolded facades with windows,
# lines and number grid below the site, and the same lines as 3D polylines on the real facades,
# go to out/district-facade.dxf; the unfolded facades alone are drawn to out/district-facade.png.
"$solx" --script examples/district-facade.scr --out out/district-facade.dxf "$@" \
    examples/district.dxf >/dev/null
"$solx" --plot out/district-facade.png --plot-area -25000,-85000 140000,-40000 \
    out/district-facade.dxf </dev/null >/dev/null

# The 3D shadow simulation of the district (examples/district-sim.scr): views at 9:00, 12:00 and
# 15:00 with the ground shadows and with the shadows on every face, then the day played and
# recorded as a film (out/district-sim.avi, Motion JPEG in AVI, 25 frames a second).
"$solx" --script examples/district-sim.scr "$@" examples/district.dxf >out/district-sim.txt

"$solx" --script examples/sample.scr --out out/sample-result.dxf \
    --plot out/sample-result.png "$@" examples/sample.dxf >/dev/null

echo "main-job: window sunlight analysis of the district saved to out/district-result.dxf"
echo "main-job: picture of it in out/district-result.png, the tables alone in out/district-table.png"
echo "main-job: shadow outlines of the district 8:00-16:00 saved to out/district-shadows.dxf (picture out/district-shadows.png)"
echo "main-job: grid sunlight map of the courtyards saved to out/district-grid.dxf (pictures out/district-grid.png, out/district-grid-courtyard.png)"
echo "main-job: single-point queries on the district saved to out/district-spoint.dxf (picture out/district-spoint.png, transcript with the [tip] lines out/district-spoint.txt)"
echo "main-job: equal-hour lines of 1, 2 and 3 hours of the district saved to out/district-equal-hours.dxf (picture out/district-equal-hours.png)"
echo "main-job: 3D shadow simulation views of the district in out/district-sim-*.png (ground and face shadows at 9:00, 12:00, 15:00; the end of the played day); the film of the day in out/district-sim.avi"
echo "main-job: the same lines by the fitting method saved to out/district-equal-hours-fitted.dxf (picture out/district-equal-hours-fitted.png)"
echo "main-job: the equal-hour lines on the facades of buildings 7 and 8 saved to out/district-facade.dxf (picture out/district-facade.png)"
echo "main-job: the tour of the sample site saved to out/sample-result.dxf (picture out/sample-result.png)"
