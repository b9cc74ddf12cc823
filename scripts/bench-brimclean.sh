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

for program in scan_bench brimclean_bench brimclean delete_bench; do
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

# The program itself, process start and output included, in rounds paired
# with a process that only walks the tree: each pair meets the same caches.
elapsed() { local start end; start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N); echo $((end - start)); }
best_walk=0 best_run=0
for round in 1 2 3 4 5; do
  walk=$(elapsed wine "$build/brimclean_bench.exe" --walk 't:\')
  run=$(elapsed wine "$build/brimclean.exe" find files --drive t: --no-cache --no-cookies \
    --no-history --no-recent)
  [ "$best_walk" -eq 0 ] || [ "$walk" -lt "$best_walk" ] && best_walk=$walk
  [ "$best_run" -eq 0 ] || [ "$run" -lt "$best_run" ] && best_run=$run
  awk -v w="$walk" -v r="$run" -v n="$round" \
    'BEGIN { printf "round %d: walk process %.2f s, brimclean.exe %.2f s (%.2fx)\n", n, w / 1e9, r / 1e9, r / w }'
done
awk -v w="$best_walk" -v r="$best_run" \
  'BEGIN { printf "best: walk process %.2f s, brimclean.exe whole run %.2f s (%.2fx)\n", w / 1e9, r / 1e9, r / w }'

# A Delete with backup of 20,000 files through the deletion door against the
# same Delete by path names, in interleaved rounds.
wine "$build/delete_bench.exe" 't:\delete_bench\' 20000
