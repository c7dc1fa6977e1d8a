#!/usr/bin/env bash
# Builds the DXF reader fuzzer with clang (libFuzzer + ASan + UBSan) in its own build folder and
# runs it briefly on the seed corpus in fuzz/corpus. Exits non-zero when the fuzzer finds a
# crash, a leak, undefined behaviour or a round-trip mismatch.
#   SOLX_FUZZ_BUILD_DIR (default build-fuzz), SOLX_FUZZ_SECONDS (default 45)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${SOLX_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${SOLX_FUZZ_SECONDS:-45}
mkdir -p "$out/obj" "$out/corpus"

export FUZZ_FLAGS="-std=c++20 -O1 -g -fno-omit-frame-pointer -Isrc/platform
  -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
sources=(src/platform/dxf/*.cpp fuzz/dxf_reader_fuzzer.cpp)

# Compile two at a time; only what changed since the last run.
for src in "${sources[@]}"; do
  obj="$out/obj/$(basename "${src%.cpp}").o"
  if [[ ! -f "$obj" || "$src" -nt "$obj" || -n "$(find src/platform/dxf -name '*.h' -newer "$obj")" ]]; then
    echo "$src $obj"
  fi
done | xargs -r -n2 -P2 bash -c 'clang++ $FUZZ_FLAGS -c "$1" -o "$2"' compile ||
  { echo "fuzz-smoke: compiling failed" >&2; exit 1; }
clang++ -fsanitize=fuzzer,address,undefined "$out"/obj/*.o -o "$out/dxf_reader_fuzzer"

# New inputs go to the build folder; the checked-in seeds are only read.
"$out/dxf_reader_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -dict=fuzz/dxf.dict -artifact_prefix="$out/" -print_final_stats=1 \
  "$out/corpus" fuzz/corpus
