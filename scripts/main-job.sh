#!/usr/bin/env bash
# The main job: solx opens the sample site, runs the sample script (the six analysis commands
# and the host's own commands), saves the result to out/sample-result.dxf and draws its plan to
# out/sample-result.png.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${SOLX_BUILD_DIR:-build}
mkdir -p out
"$build_dir/bin/solx" --script examples/sample.scr --out out/sample-result.dxf \
    --plot out/sample-result.png "$@" examples/sample.dxf
echo "main-job: saved out/sample-result.dxf"
echo "main-job: picture of it in out/sample-result.png"
