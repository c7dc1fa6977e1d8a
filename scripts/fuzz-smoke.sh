#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer + ASan + UBSan) in their own build folders and runs
# each briefly: the DXF reader fuzzer on fuzz/corpus, then the drawing fuzzer (load, save, load
# again, plot scene, window analysis) on the examples, the hostile reproducers of tests/e2e and
# small drawings of the LibreCAD library. Exits non-zero when a fuzzer finds a crash, a leak,
# undefined behaviour, a hang or a round-trip mismatch.
#   SOLX_FUZZ_BUILD_DIR (default build-fuzz), SOLX_FUZZ_SECONDS (default 30, the reader),
#   SOLX_FUZZ_DRAWING_BUILD_DIR (default build-fuzz-drawing),
#   SOLX_FUZZ_DRAWING_SECONDS (default 60, the drawing fuzzer)
set -euo pipefail
cd "$(dirname "$0")/.."
# A fixed seed makes a red smoke run repeatable; SOLX_FUZZ_SEED=0 lets libFuzzer pick one.
seed=${SOLX_FUZZ_SEED:-20261206}
out=${SOLX_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${SOLX_FUZZ_SECONDS:-30}
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
"$out/dxf_reader_fuzzer" -seed="$seed" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -dict=fuzz/dxf.dict -artifact_prefix="$out/" -print_final_stats=1 \
  "$out/corpus" fuzz/corpus

# The drawing fuzzer needs every layer built with coverage: a CMake build of its own (only the
# fuzzer target and what it links), incremental after the first run.
drawing_out=${SOLX_FUZZ_DRAWING_BUILD_DIR:-build-fuzz-drawing}
drawing_seconds=${SOLX_FUZZ_DRAWING_SECONDS:-60}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$drawing_out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DSOLX_BUILD_FUZZ=ON -DSOLX_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$drawing_out" -j "$(nproc)" --target solx_drawing_fuzzer >/dev/null ||
  { echo "fuzz-smoke: building the drawing fuzzer failed" >&2; exit 1; }

seeds="$drawing_out/seeds"
mkdir -p "$seeds" "$drawing_out/corpus"
cp examples/sample.dxf tests/e2e/hostile/*.dxf "$seeds/"
if [[ -d /usr/share/librecad/library ]]; then
  # The same 40 small library drawings every run.
  # (Read whole, then cut: a pipe into head would end find and sort early with SIGPIPE, which
  # pipefail turns into a failed run.)
  mapfile -d '' -t library < <(find /usr/share/librecad/library -name '*.dxf' -size -24k -print0 | sort -z)
  for f in "${library[@]:0:40}"; do cp "$f" "$seeds/lib-$(basename "$f")"; done
fi
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} "$drawing_out/bin/solx_drawing_fuzzer" \
  -seed="$seed" -max_total_time="$drawing_seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
  -dict=fuzz/dxf.dict -artifact_prefix="$drawing_out/" -print_final_stats=1 \
  "$drawing_out/corpus" "$seeds"
