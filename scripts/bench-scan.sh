#!/usr/bin/env bash
# Times the Files Find against a bare directory walk under Wine, in a fresh
# throwaway prefix, and prints native `find` over the same tree for reference.
#
#   bash scripts/bench-scan.sh [build folder] [folders] [files per folder]
#
# The tree (20,000 folders x 10 files by default) is built inside the
# prefix's drive_c, which the script maps to the drive letter t: so that the
# Find searches that tree alone, as it would one drive.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
folders=${2:-20000}
files=${3:-10}

[ -x "$build/scan_bench.exe" ] || BRIM_BUILD_DIR="$build" bash "$root/scripts/build.sh" windows scan_bench

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

tree="$WINEPREFIX/drive_c/brim_bench"
mkdir -p "$tree"
ln -sfn ../drive_c/brim_bench "$WINEPREFIX/dosdevices/t:"

wine "$build/scan_bench.exe" 't:\' "$folders" "$files"

# Native reference over the same (now warm) tree.
find "$tree" >/dev/null
start=$(date +%s%N)
count=$(find "$tree" -name '.*' -prune -o -print | wc -l)
end=$(date +%s%N)
awk -v n="$count" -v ns="$((end - start))" -v f="$((folders * files))" 'BEGIN {
  s = ns / 1e9
  printf "native find: %d entries in %.2f s, %.0f files/s\n", n, s, f / s
}'
