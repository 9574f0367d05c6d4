#!/usr/bin/env bash
# import-winapp2 of a generated winapp2.ini of ENTRIES entries, timed to an enciphered file and to plain lines,
# then a Show of the whole imported catalogue on this machine, which has none of those programs.
# The entries mix every key kind the importer maps: Detect, DetectFile, DetectOS, FileKey with and without
# RECURSE and REMOVESELF over the program files variables, RegKey on keys and values, ExcludeKey FILE/PATH/REG.
#
# usage: bench/winapp2_import_bench.sh [BUILD_DIR] [ENTRIES] [ROUNDS]
#        defaults: build/native 4000 5
set -euo pipefail
build=${1:-build/native}
entries=${2:-4000}
rounds=${3:-5}
cli=$build/quillmere-cli
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qm-winapp2-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Entry n, one of four shapes in turn, 5 or 6 keys each (winapp2.ini averages about 5.4).
awk -v n="$entries" 'BEGIN {
  for (i = 1; i <= n; i++) {
    app = sprintf("Bench App %05d", i)
    printf "[%s *]\nLangSecRef=%d\n", app, 3021 + i % 5
    shape = i % 4
    if (shape == 0) {
      printf "Detect=HKCU\\Software\\Bench\\%05d\nRegKey1=HKCU\\Software\\Bench\\%05d\\MRU\n", i, i
      printf "RegKey2=HKCU\\Software\\Bench\\%05d\\Settings|LastFolder\nRegKey3=HKLM\\Software\\Bench\\%05d|LastRun\n", i, i
      printf "ExcludeKey1=REG|HKCU\\Software\\Bench\\%05d\\MRU|Pinned\n", i
    } else if (shape == 1) {
      printf "DetectFile=%%AppData%%\\Bench\\%05d\nFileKey1=%%AppData%%\\Bench\\%05d\\Logs|*.log;*.txt\n", i, i
      printf "FileKey2=%%LocalAppData%%\\Bench\\%05d\\Cache|*.*|RECURSE\nFileKey3=%%LocalAppData%%\\Bench\\%05d\\Temp|*.*|REMOVESELF\n", i, i
      printf "ExcludeKey1=FILE|%%AppData%%\\Bench\\%05d\\Logs\\|keep.log\n", i
    } else if (shape == 2) {
      printf "DetectFile=%%ProgramFiles%%\\Bench %05d\nFileKey1=%%ProgramFiles%%\\Bench %05d\\Logs|*.log|RECURSE\n", i, i
      printf "FileKey2=%%CommonProgramFiles%%\\Bench\\%05d|*.tmp\nExcludeKey1=PATH|%%ProgramFiles%%\\Bench %05d\\Logs\\Keep\\\n", i, i
    } else {
      printf "DetectOS=10.0|\nDetect=HKCU\\Software\\Classes\\Local Settings\\Software\\Bench.%05d_abc\n", i
      printf "FileKey1=%%LocalAppData%%\\Packages\\Bench.%05d_*\\AC\\INet*|*.*|RECURSE\n", i
      printf "FileKey2=%%LocalAppData%%\\Packages\\Bench.%05d_*\\TempState|*.*|RECURSE\nWarning=Bench warning %05d.\n", i, i
    }
    printf "\n"
  }
}' > "$work/winapp2.ini"

seconds() { local start=$(date +%s.%N); "$@" > /dev/null 2>&1; echo "$(date +%s.%N) - $start" | bc; }
lesser() { echo "if ($1 < $2) $1 else $2" | bc; }

"$cli" import-winapp2 "$work/winapp2.ini" --out "$work/out.pc" --report > "$work/report.txt"
t_file=999999 t_plain=999999
for round in $(seq "$rounds"); do
  t_file=$(lesser "$(seconds "$cli" import-winapp2 "$work/winapp2.ini" --out "$work/out.pc" --report)" "$t_file")
  t_plain=$(lesser "$(seconds "$cli" import-winapp2 "$work/winapp2.ini")" "$t_plain")
done
t_show=999999
for round in $(seq "$rounds"); do
  t_show=$(lesser "$(seconds "$cli" show --catalogue "$work/out.pc")" "$t_show")
done

echo "input: $entries entries, $(wc -l < "$work/winapp2.ini") lines, $(wc -c < "$work/winapp2.ini") bytes"
echo "output: $(wc -l < "$work/out.pc") catalogue lines, $(wc -c < "$work/out.pc") bytes enciphered"
echo "report: $(tail -1 "$work/report.txt")"
printf 'import --out --report   %6.3f s (best of %d, goal < 1 s)\n' "$t_file" "$rounds"
printf 'import to stdout        %6.3f s (best of %d)\n' "$t_plain" "$rounds"
printf 'show of the catalogue   %6.3f s (best of %d, goal < 2 s; traces: %s)\n' "$t_show" "$rounds" \
  "$("$cli" show --catalogue "$work/out.pc" | wc -l)"
