#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the engine natively (with AddressSanitizer and UBSan), every fuzz target
# for a short time (clang, libFuzzer), then the engine,
# the Win32 backend and the windows under Wine with a fresh prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native
bash "$root/scripts/build.sh" windows

echo "== Native engine tests =="
(cd "$root/build-native" && ctest --output-on-failure)

# Every fuzz target replays its seeds and then runs for a short time
# (BRIM_FUZZ_SECONDS each, 30 by default); a broken property fails the run.
echo "== Fuzz targets =="
bash "$root/scripts/fuzz-all.sh" "${BRIM_FUZZ_SECONDS:-30}"

echo "== Tests under Wine =="
. "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
cd "$root/build-win"
ctest --output-on-failure
