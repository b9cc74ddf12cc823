#!/usr/bin/env bash
# Times the Registry Find against a bare enumeration of the same keys under
# Wine, in a fresh throwaway prefix (so the scratch key and the files it
# names go with the prefix).
#
#   bash scripts/bench-regscan.sh [build folder] [keys] [values per key]
#
# 10,000 keys x 10 string values by default, under
# HKEY_CURRENT_USER\Software\BrimRegScanBench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
keys=${2:-10000}
values=${3:-10}

if [ ! -x "$build/regscan_bench.exe" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$build" --target regscan_bench -j2
fi

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

wine "$build/regscan_bench.exe" "$keys" "$values"
