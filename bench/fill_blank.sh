#!/usr/bin/env bash
# FillBlank against dd on the same file: both overwrite it in place (no truncation) with NUL bytes in blocks of
# 10,000 bytes, the last block short, and end with one flush to the disk.
#   bench/fill_blank.sh [BUILD_DIR] [SIZE_MIB] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
size_mib=${2:-1024}
rounds=${3:-3}
bench="$build/bench/fill_blank_bench"
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build --target fill_blank_bench)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/var/tmp}/fill-blank-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
file="$work/index.dat"
bytes=$((size_mib * 1024 * 1024))
random="$work/random.bin"
head -c "$bytes" /dev/urandom >"$random"

now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }
# Each tool overwrites the same data from the same state: the file freshly written and flushed.
scramble() { cp "$random" "$file"; sync; }

best_dd=0
best_fill=0
for round in $(seq "$rounds"); do
  scramble
  t0=$(now)
  dd if=/dev/zero of="$file" bs=10000 count="$bytes" iflag=count_bytes conv=notrunc,fsync status=none
  t1=$(now)
  scramble
  t2=$(now)
  "$bench" "$file" 1 >/dev/null
  t3=$(now)
  cmp -s -n "$bytes" "$file" /dev/zero || { echo "FillBlank left bytes that are not NUL" >&2; exit 1; }
  [ "$(stat -c %s "$file")" -eq "$bytes" ] || { echo "FillBlank changed the file's length" >&2; exit 1; }
  dd_rate=$(calc "$size_mib / ($t1 - $t0)")
  fill_rate=$(calc "$size_mib / ($t3 - $t2)")
  printf 'round %d: dd %.1f MiB/s, FillBlank %.1f MiB/s\n' "$round" "$dd_rate" "$fill_rate"
  best_dd=$(calc "($dd_rate > $best_dd) ? $dd_rate : $best_dd")
  best_fill=$(calc "($fill_rate > $best_fill) ? $fill_rate : $best_fill")
done
printf 'dd conv=notrunc,fsync bs=10000: %.1f MiB/s (best of %d)\n' "$best_dd" "$rounds"
printf 'FillBlank:                      %.1f MiB/s (best of %d)\n' "$best_fill" "$rounds"
printf 'ratio FillBlank/dd:             %.2f\n' "$(calc "$best_fill / $best_dd")"
