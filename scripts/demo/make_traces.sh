#!/usr/bin/env bash
# Makes the demo traces of scripts/demo/catalogue.txt under the folder $1 (C:\QuillmereDemo\traces in the
# Wine prefix) and the demo registry values with the `wine reg` of the current prefix.
set -euo pipefail
root=$1
mkdir -p "$root/Temp/setup" "$root/Browser/Cache/data_1" "$root/Browser/Cookies" "$root/Editor" "$root/Player" "$root/IE/Cache"
for i in $(seq 1 40); do head -c $((i * 700)) /dev/zero >"$root/Temp/tmp$i.tmp"; done
for i in $(seq 1 12); do head -c 5000 /dev/zero >"$root/Temp/setup/part$i.cab"; done
for i in $(seq 1 60); do head -c $((i * 333)) /dev/zero >"$root/Browser/Cache/data_1/f_$i"; done
for site in example.com news.example.org shop.example.net mail.example.com; do
  echo "session=1" >"$root/Browser/Cookies/$site.txt"
done
for n in report letter budget notes; do echo "C:\\Docs\\$n" >"$root/Editor/$n.mru"; done
for i in $(seq 1 8); do head -c 2048 /dev/zero >"$root/IE/Cache/page$i.htm"; done
for n in morning evening; do echo "C:\\Music\\$n.mp3" >"$root/Player/$n.m3u"; done
for v in a b c d; do wine reg add 'HKCU\Software\QuillmereDemo\RunMRU' /v $v /d "notepad $v.txt" /f >/dev/null; done
for v in url1 url2; do wine reg add 'HKCU\Software\QuillmereDemo\TypedURLs' /v $v /d "http://$v.example/" /f >/dev/null; done
for e in .txt .docx .pdf; do
  wine reg add "HKCU\\Software\\QuillmereDemo\\RecentDocs\\$e" /v 0 /t REG_BINARY /d 610062006300 /f >/dev/null
done
