#!/usr/bin/env bash
# Times a 1 GiB memory refresh and an idle monitor tick under Wine, in a
# fresh throwaway prefix.
#
#   bash scripts/bench-memory.sh [build folder] [refresh runs] [ticks]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
runs=${2:-3}
ticks=${3:-1000}

[ -x "$build/memory_bench.exe" ] || BRIM_BUILD_DIR="$build" bash "$root/scripts/build.sh" windows memory_bench

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

wine "$build/memory_bench.exe" "$runs" "$ticks"
