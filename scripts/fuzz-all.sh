#!/usr/bin/env bash
# Builds every libFuzzer target (<subsystem>/fuzz/<name>_fuzz.cpp) natively
# with clang, AddressSanitizer and UBSan against the engine and the fakes,
# and runs each for the given time. Each run first replays the committed
# seeds (<subsystem>/fuzz/corpus/<name>/) and the inputs earlier runs found;
# new inputs go to the scratch folder, so the committed seeds stay small.
# Fails when any target finds an input that breaks its property or crashes.
#   bash scripts/fuzz-all.sh [seconds per target] [name...]   default 600, all
# BRIM_FUZZ_DIR     scratch folder for grown corpora, logs and findings
# BRIM_FUZZ_KNOWN   known findings to check as well ("all" or names, see README)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
[ $# -gt 0 ] && shift
out=${BRIM_FUZZ_DIR:-/tmp/brim-fuzz}
build=$root/build-fuzz

launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIM_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null

sources=()
for source in "$root"/*/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  if [ $# -gt 0 ]; then
    printf '%s\n' "$@" | grep -qx -e "$name" -e "${name%_fuzz}" || continue
  fi
  sources+=("$source")
done
[ ${#sources[@]} -gt 0 ] || { echo "no such fuzz target: $*" >&2; exit 2; }
names=()
for source in "${sources[@]}"; do names+=("$(basename "$source" .cpp)"); done
nice cmake --build "$build" -j "$(nproc)" --target "${names[@]}"

mkdir -p "$out"
failed=()
printf '%-18s %10s %8s %8s %6s  %s\n' target executions coverage features secs result
for source in "${sources[@]}"; do
  name=$(basename "$source" .cpp)
  seeds=$(dirname "$source")/corpus/${name%_fuzz}
  mkdir -p "$out/$name" "$seeds"
  log=$out/$name.log
  started=$SECONDS
  status=0
  (cd "$out" && nice "$build/$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
     -print_final_stats=1 -artifact_prefix="$out/$name-" "$out/$name" "$seeds") >"$log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1 || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d" " -f2 || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d" " -f2 || true)
  result=ok
  if [ $status -ne 0 ]; then
    result="FAILED (exit $status, $log)"
    failed+=("$name")
  fi
  printf '%-18s %10s %8s %8s %6s  %s\n' "${name%_fuzz}" "${runs:-?}" "${cov:-?}" "${ft:-?}" \
    $((SECONDS - started)) "$result"
  if [ $status -ne 0 ]; then
    grep -E 'property violated|ERROR: |SUMMARY: |Test unit written' "$log" | head -5 | sed 's/^/    /'
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets that failed: ${failed[*]}" >&2
  exit 1
fi
