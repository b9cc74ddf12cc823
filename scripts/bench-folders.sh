#!/usr/bin/env bash
# Times the folder-usage gathering through its page (the tree, the type sums
# and the largest files in one walk) against a bare directory walk under
# Wine, in a fresh throwaway prefix, with walking in and out of the gathered
# tree with the pie and with the treemap shown, the tree's memory per folder
# and the working set. It prints figures and judges nothing: the machine may
# be shared and loaded, so the rounds of one run are what compare.
#
#   bash scripts/bench-folders.sh [build folder] [folders] [files per folder]
#
# The tree (20,000 folders x 10 files by default) is built inside the
# prefix's drive_c, which the script maps to the drive letter t: so that the
# page gathers that tree alone, as it would one drive.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
folders=${2:-20000}
files=${3:-10}

[ -x "$build/folders_bench.exe" ] ||
  BRIM_BUILD_DIR="$build" bash "$root/scripts/build.sh" windows folders_bench

. "$root/scripts/wine-env.sh"
BRIM_FORCE_XVFB=${BRIM_FORCE_XVFB:-1} wine_env_start
trap wine_env_stop EXIT

tree="$WINEPREFIX/drive_c/brim_folders"
mkdir -p "$tree"
ln -sfn ../drive_c/brim_folders "$WINEPREFIX/dosdevices/t:"

wine "$build/folders_bench.exe" 't:\' "$folders" "$files"
