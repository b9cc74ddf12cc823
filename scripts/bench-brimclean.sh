#!/usr/bin/env bash
# Times brimclean's Files Find against a bare directory walk under Wine, with
# and without a 1,000-pattern keep list, over scan_bench's tree, in a fresh
# throwaway prefix; then the whole brimclean.exe run from the shell.
#
#   bash scripts/bench-brimclean.sh [build folder] [folders] [files per folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
folders=${2:-20000}
files=${3:-10}

for program in scan_bench brimclean_bench brimclean; do
  [ -x "$build/$program.exe" ] || BRIM_BUILD_DIR="$build" bash "$root/scripts/build.sh" windows "$program"
done

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

tree="$WINEPREFIX/drive_c/brim_bench"
mkdir -p "$tree"
ln -sfn ../drive_c/brim_bench "$WINEPREFIX/dosdevices/t:"

# Builds the tree and times the window's Find for reference.
wine "$build/scan_bench.exe" 't:\' "$folders" "$files"
wine "$build/brimclean_bench.exe" 't:\'

# The program itself, process start and output included.
start=$(date +%s%N)
wine "$build/brimclean.exe" find files --drive t: --no-cache --no-cookies --no-history \
  --no-recent >/dev/null 2>&1
end=$(date +%s%N)
awk -v ns="$((end - start))" 'BEGIN { printf "brimclean.exe, whole run: %.2f s\n", ns / 1e9 }'
