#!/usr/bin/env bash
# Show and Clear of quillmere-cli over FILES files in FOLDERS folders, against find and rm -rf on a tree of
# the same shape, and the peak memory of Show over PEAK_FILES files. Prints seconds, ratios and bytes.
#
# usage: bench/show_clear_bench.sh [BUILD_DIR] [FILES] [FOLDERS] [PEAK_FILES] [ROUNDS]
#        defaults: build/native 100000 1000 1000000 3 (PEAK_FILES 0 skips the memory run)
set -euo pipefail
build=${1:-build/native}
files=${2:-100000}
folders=${3:-1000}
peak_files=${4:-1000000}
rounds=${5:-3}
cli=$build/quillmere-cli
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qm-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A tree of `count` files of 100 bytes spread evenly over `dirs` folders.
make_tree() {
  local root=$1 count=$2 dirs=$3 per=$(( $2 / $3 ))
  python3 - "$root" "$dirs" "$per" <<'PY'
import os, sys
root, dirs, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = b"x" * 100
for d in range(dirs):
    folder = os.path.join(root, "d%04d" % d)
    os.makedirs(folder)
    for f in range(per):
        with open(os.path.join(folder, "f%05d.tmp" % f), "wb") as out:
            out.write(data)
PY
}

# A catalogue with one Folder item on `root`, enciphered by the program itself.
make_catalogue() {
  local root=$1 out=$2
  printf '%s\n' '[Config]' 'Type:Root' 'Software:Bench' 'Selected:1' "Tree<>1<>0<>Folder><$root" > "$out.txt"
  "$cli" encrypt "$out.txt" > "$out"
}

seconds() { local start=$(date +%s.%N); "$@" > /dev/null; echo "$(date +%s.%N) - $start" | bc; }
lesser() { echo "if ($1 < $2) $1 else $2" | bc; }

# A registry store of its own: a named store must exist.
store=$work/registry.reg
printf 'Windows Registry Editor Version 5.00\r\n' > "$store"
run_cli() { "$cli" --registry "$store" --catalogue "$1" --json "${@:2}"; }

echo "tree: $files files in $folders folders, best of $rounds rounds"
make_tree "$work/template" "$files" "$folders"
make_catalogue "$work/a" "$work/a.dat"

# Show and find read the same tree, warmed by one show first so both read from the cache.
cp -a "$work/template" "$work/a"
run_cli "$work/a.dat" show > "$work/show.jsonl"
t_find=999999 t_show=999999
for round in $(seq "$rounds"); do
  t_find=$(lesser "$(seconds find "$work/a" -printf '%s %p\n')" "$t_find")
  t_show=$(lesser "$(seconds run_cli "$work/a.dat" show)" "$t_show")
done
traces=$(tail -1 "$work/show.jsonl")

# Each round deletes two fresh copies of the template, one with each tool, in turns so neither always
# meets the disk just after the other's work.
t_rm=999999 t_clear=999999 left=0
for round in $(seq "$rounds"); do
  rm -rf "$work/a"
  cp -a "$work/template" "$work/a"
  cp -a "$work/template" "$work/b"
  sync
  if (( round % 2 )); then
    t_rm=$(lesser "$(seconds rm -rf "$work/b")" "$t_rm"); sync
    t_clear=$(lesser "$(seconds run_cli "$work/a.dat" --yes clear)" "$t_clear")
  else
    t_clear=$(lesser "$(seconds run_cli "$work/a.dat" --yes clear)" "$t_clear"); sync
    t_rm=$(lesser "$(seconds rm -rf "$work/b")" "$t_rm")
  fi
  left=$(( left + $(find "$work/a" -mindepth 1 | wc -l) ))
done
rm -rf "$work/template" "$work/a"

printf 'find -printf        %8.2f s\n' "$t_find"
printf 'quillmere show      %8.2f s   ratio %.2f (goal <= 1.2)\n' "$t_show" "$(echo "$t_show / $t_find" | bc -l)"
printf 'rm -rf              %8.2f s\n' "$t_rm"
printf 'quillmere clear     %8.2f s   ratio %.2f (goal <= 1.1)\n' "$t_clear" "$(echo "$t_clear / $t_rm" | bc -l)"
echo "show summary: $traces"
echo "entries left after the clears: $left"

if [ "$peak_files" -gt 0 ]; then
  echo "peak memory: Show over $peak_files files in $(( peak_files / 100 )) folders"
  make_tree "$work/p" "$peak_files" $(( peak_files / 100 ))
  make_catalogue "$work/p" "$work/p.dat"
  make_catalogue "$work/empty-folder-does-not-exist" "$work/e.dat"
  base_kb=$( { /usr/bin/time -f '%M' "$cli" --registry "$store" --catalogue "$work/e.dat" show > /dev/null; } 2>&1 | tail -1)
  peak_kb=$( { /usr/bin/time -f '%M' "$cli" --registry "$store" --catalogue "$work/p.dat" show > "$work/p.txt"; } 2>&1 | tail -1)
  # The texts each trace holds: its path (Path), its name (ValueName) and its list text (Value).
  text_bytes=$(find "$work/p" -mindepth 1 -printf '%p %f %f\n' | awk '{ n += length($1) + length($2) + length($3) } END { print n }')
  per_trace=$(echo "($peak_kb - $base_kb) * 1024 / $peak_files" | bc -l)
  beyond=$(echo "(($peak_kb - $base_kb) * 1024 - $text_bytes) / $peak_files" | bc -l)
  printf 'peak RSS %d KiB, baseline %d KiB: %.0f bytes per trace, %.0f beyond the texts (goal <= 300)\n' \
    "$peak_kb" "$base_kb" "$per_trace" "$beyond"
fi
