#!/usr/bin/env bash
# Times the main window's Registry Find against a bare enumeration of the same
# keys under Wine, in a fresh throwaway prefix (so the scratch key and the files it
# names go with the prefix).
#
#   bash scripts/bench-regscan.sh [build folder] [keys] [values per key]
#
# 10,000 keys x 10 string values by default, under
# HKEY_LOCAL_MACHINE\Software\BrimRegScanBench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
keys=${2:-10000}
values=${3:-10}

[ -x "$build/regscan_bench.exe" ] || BRIM_BUILD_DIR="$build" bash "$root/scripts/build.sh" windows regscan_bench

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

wine "$build/regscan_bench.exe" "$keys" "$values"
