#!/usr/bin/env bash
# The main window's Show over FILES files in FOLDERS folders against the command line's Show of the same tree,
# both under Wine on a virtual display: seconds from the click to the last status-bar update, and the peak
# working set of each process. Needs the native build (to encipher the catalogue) and the Windows build.
#
# usage: bench/window_show_bench.sh [FILES] [FOLDERS] [ROUNDS]    defaults: 100000 1000 3
set -euo pipefail
files=${1:-100000}
folders=${2:-1000}
rounds=${3:-3}
cli=build/native/quillmere-cli
bench=build/windows/bench/window_show_bench_win32.exe
for f in "$cli" "$bench"; do [ -x "$f" ] || { echo "no $f: build first" >&2; exit 2; }; done

export WINEPREFIX=$PWD/build/windows/wineprefix-bench WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || { wineboot --init >/dev/null 2>&1 || true; wineserver -w; }
work=$WINEPREFIX/drive_c/qmbench
rm -rf "$work"
mkdir -p "$work/tree"
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT

python3 - "$work/tree" "$folders" "$((files / folders))" <<'PY'
import os, sys
root, dirs, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for d in range(dirs):
    folder = os.path.join(root, "d%04d" % d)
    os.makedirs(folder)
    for f in range(per):
        with open(os.path.join(folder, "f%05d.tmp" % f), "wb") as out:
            out.write(b"x" * 100)
PY
printf '%s\n' '[Config]' 'Type:Root' 'Software:Bench' 'Selected:1' 'Tree<>1<>0<>Folder><C:\qmbench\tree' \
  >"$work/catalogue.txt"
"$cli" encrypt "$work/catalogue.txt" >"$work/PrivacyConfig.dat"

echo "window and command line Show over $files files in $folders folders, $rounds rounds each"
xvfb-run -a bash -c "
  wine '$bench' cli 'C:\\qmbench\\PrivacyConfig.dat' >/dev/null  # warm-up: the tree in the cache
  for i in \$(seq $rounds); do
    wine '$bench' cli 'C:\\qmbench\\PrivacyConfig.dat'
    wine '$bench' window 'C:\\qmbench\\PrivacyConfig.dat'
  done"
