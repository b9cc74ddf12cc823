#!/usr/bin/env bash
# Configures and builds one configuration: "native" (engine and its tests,
# with sanitizers) or "windows" (everything, cross-compiled with MinGW-w64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
config=${1:?native or windows}
shift
# Further arguments name the targets to build (default: all).
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
jobs=$(nproc)
# ccache, where the machine has it, shares compiled objects between checkouts.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

case "$config" in
  native)
    cmake -S "$root" -B "$root/build-native" -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null
    cmake --build "$root/build-native" -j "$jobs" "${targets[@]}"
    ;;
  windows)
    # BRIM_BUILD_DIR: another folder for the Windows build (the benchmarks').
    build=${BRIM_BUILD_DIR:-$root/build-win}
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$build" -j "$jobs" "${targets[@]}"
    ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac
