# The Debian package: its fields, its command line run from a scratch root it is unpacked into, and lintian.
# Sourced by run, which sets source, dist, work and version.
# shellcheck shell=bash disable=SC2154

deb_test() {
  local deb=$dist/quillmere-cli_${version}_amd64.deb root=$work/debroot
  echo "== packaging: debian package"
  local -A fields=([Package]=quillmere-cli [Version]=$version [Architecture]=amd64)
  for field in "${!fields[@]}"; do
    check_eq "the package's $field" "$(dpkg-deb -f "$deb" "$field")" "${fields[$field]}"
  done
  check "the package depends on the C++ runtime it was linked with" \
    grep -q 'libstdc++6 (>= ' <(dpkg-deb -f "$deb" Depends)

  dpkg -x "$deb" "$root"
  # A home of its own, so nothing of the user's is read or written.
  local cli=(env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
    "$root/usr/bin/quillmere-cli")
  check_eq "the packaged command line tells the version" "$("${cli[@]}" --version)" "quillmere-cli $version"
  "${cli[@]}" list >"$work/deb-list"
  mapfile -t nodes < <(expected_nodes)
  check_lines "it finds the catalogue of /usr/share/quillmere and lists every configuration" "$work/deb-list" \
    "${nodes[@]}"
  check_eq "the package ships every plug-in file" "$(LC_ALL=C ls "$root/usr/share/quillmere/plugins")" \
    "$(expected_plugins)"
  check "the package ships the catalogue of the Windows release" \
    cmp -s "$root/usr/share/quillmere/PrivacyConfig.dat" \
    <(unzip -p "$dist/Quillmere-$version-win64-portable.zip" Quillmere/PrivacyConfig.dat)
  # The manual page and the completion, where the sources make them.
  if grep -q 'quillmere-cli\.1' "$source/CMakeLists.txt"; then
    check "the manual page is packaged and reads without warnings" man_page_clean "$root"
  fi
  if [ -f "$source/scripts/completion/quillmere-cli.bash" ]; then
    check "the bash completion is packaged and completes quillmere-cli" completion_loads "$root"
  fi
  check "lintian finds nothing" lintian_clean "$deb"
}

# Lintian with every tag failing, its warning about running as root (as CI does) left out.
lintian_clean() {
  lintian --fail-on error,warning,info,pedantic --pedantic "$1" 2>&1 |
    grep -vxF 'running with root privileges is not recommended!'
  return "${PIPESTATUS[0]}"
}

man_page_clean() {
  local page=$1/usr/share/man/man1/quillmere-cli.1.gz warnings
  [ -f "$page" ] || return 1
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
}

completion_loads() {
  bash -c '. "$1" && complete -p quillmere-cli' _ "$1/usr/share/bash-completion/completions/quillmere-cli" >/dev/null
}
