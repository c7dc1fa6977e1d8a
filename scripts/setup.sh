#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt that are missing, then configures build/.
# Quick on a second call: apt is only touched when something is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < scripts/packages.txt

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# build dir, build type and extra cmake flags can be overridden (CI's sanitizer build uses them).
build_dir=${SOLX_BUILD_DIR:-build}
# ccache, when the machine has it, makes rebuilds in several checkouts cheap; it is optional.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${SOLX_BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" ${SOLX_CMAKE_FLAGS:-} >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
