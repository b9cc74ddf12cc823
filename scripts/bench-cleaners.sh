#!/usr/bin/env bash
# The cleaners' benchmark under Wine, in a fresh throwaway prefix: reading and
# detecting the whole shared winapp2.ini, and the Find with every built-in
# cleaner ticked over a generated profile tree against a bare walk.
#
#   bash scripts/bench-cleaners.sh [build folder] [files]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
files=${2:-200000}

[ -x "$build/cleaners_bench.exe" ] ||
  BRIM_BUILD_DIR="$build" bash "$root/scripts/build.sh" windows cleaners_bench

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

tree="$WINEPREFIX/drive_c/brim_cleaners_bench"
mkdir -p "$tree"
wine "$build/cleaners_bench.exe" \
  "Z:$root/cleaners/tests/data/winapp2/Winapp2.ini" 'c:\brim_cleaners_bench\' "$files"
