#!/usr/bin/env bash
# The main job: until the host program exists, the container benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
build/bin/bench_containers --benchmark_min_time=0.05
