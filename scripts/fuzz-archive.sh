#!/usr/bin/env bash
# Fuzzes the archive reader: arbitrary bytes go through the checker and
# Restore over the in-memory file system, under AddressSanitizer and UBSan.
# Not part of the normal tests (those replay backup/fuzz/corpus/).
#   bash scripts/fuzz-archive.sh [seconds]     default 600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
out=${BRIM_FUZZ_DIR:-/tmp/brim-fuzz-archive}

if ! command -v clang++ >/dev/null || \
   ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq clang libclang-rt-14-dev zlib1g-dev
fi

mkdir -p "$out/corpus"
cp "$root"/backup/fuzz/corpus/* "$out/corpus/"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" \
  "$root/backup/fuzz/restore_fuzz.cpp" \
  "$root"/backup/*.cpp \
  "$root/platform/Text.cpp" "$root/platform/DateConv.cpp" \
  "$root/platform/fake/FakeFileSystem.cpp" \
  -lz -o "$out/restore_fuzz"

cd "$out"
# New inputs go to the scratch corpus; the committed seeds stay small.
./restore_fuzz -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
  -print_final_stats=1 corpus
