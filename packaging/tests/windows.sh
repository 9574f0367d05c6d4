# The Windows release files under Wine, in a fresh prefix of their own: the portable zip run from a folder of
# its own, and the installer: install, upgrade over an older release, uninstall.
# Sourced by run, which sets source, dist, work and version.
# shellcheck shell=bash disable=SC2154

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

start_wine() {
  export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEARCH=win64
  # Offline, and no menu entries on the Linux desktop for the Start-menu shortcut.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wineboot --init >/dev/null 2>&1
  wineserver -w
}

# Stops the wineserver of the test's prefix, and only that one.
stop_wine() { [ "${WINEPREFIX:-}" != "$work/wineprefix" ] || wineserver -k 2>/dev/null || true; }

# Runs a Windows program, its output as Linux text; Wine's own messages go to a log.
win() { wine "$@" 2>>"$work/wine.log" | tr -d '\r'; }

# Runs an installer or uninstaller and waits for it: an uninstaller runs on from a copy of itself.
win_wait() {
  wine "$@" 2>>"$work/wine.log"
  wineserver -w
}

# A Linux path as the Windows programs reach it, through drive Z:.
windows_path() { echo "Z:${1//\//\\}"; }

# The Linux path of a folder Windows names by a variable (LOCALAPPDATA, APPDATA).
folder_of() { winepath -u "$(win cmd /c echo "%$1%")" 2>/dev/null; }

# reg_value KEY NAME: the data of a registry value, or nothing when there is none.
reg_value() { win reg query "$1" /v "$2" | sed -n "s/^    $2    REG_[A-Z_]*    //p"; }

key_absent() { ! wine reg query "$1" >/dev/null 2>&1; }

# The activity log in logs beside the program in FOLDER, if any.
log_of() { compgen -G "$1/logs/*.log" | head -1; }

# version_info FILE KEY: a text of the program's version resource.
version_info() { strings -el "$1" | grep -A1 -xF "$2" | tail -1; }

# The version About shows: the file version of the resource's fixed part (after its signature FEEF04BD),
# as major.minor.patch.
fixed_file_version() {
  local offset
  offset=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -1 | cut -d: -f1)
  [ -n "$offset" ] && od -An -tu2 -j $((offset + 8)) -N 8 "$1" | awk '{ print $2 "." $1 "." $4 }'
}

portable_test() {
  local zip=$dist/Quillmere-$version-win64-portable.zip folder=$work/portable/Quillmere
  echo "== packaging: portable zip"
  {
    printf 'Quillmere/%s\n' Quillmere.exe quillmere-cli.exe PrivacyConfig.dat README.txt LICENSE.txt \
      THIRD-PARTY-NOTICES.txt plugins/
    expected_plugins | sed 's|^|Quillmere/plugins/|'
    echo Quillmere/
  } | LC_ALL=C sort >"$work/zip-expected"
  unzip -Z1 "$zip" | LC_ALL=C sort >"$work/zip-listing"
  check "the zip holds the programs, the catalogue, the plug-ins and the notices" \
    diff "$work/zip-expected" "$work/zip-listing"
  unzip -q "$zip" -d "$work/portable"

  check_eq "the zip's command line tells the version" "$(win "$folder/quillmere-cli.exe" --version)" \
    "quillmere-cli $version"
  for key in FileVersion ProductVersion; do
    check_eq "the desktop program's $key" "$(version_info "$folder/Quillmere.exe" "$key")" "$version"
  done
  check_eq "the version About shows" "$(fixed_file_version "$folder/Quillmere.exe")" "$version"
  win "$folder/quillmere-cli.exe" list >"$work/portable-list"
  check_eq "a list of the catalogue beside the program starts at the root" "$(head -1 "$work/portable-list")" \
    'Ur All Privacy'
  mapfile -t nodes < <(expected_nodes)
  check_lines "a list shows every configuration of the shipped catalogue" "$work/portable-list" "${nodes[@]}"
  # The activity log goes beside the program, so the folder must be one the program can write.
  win "$folder/quillmere-cli.exe" --log show 'Windows\Window Temp Files' >/dev/null
  check "a show with --log writes its log into logs beside the program" test -n "$(log_of "$folder")"
}

# The catalogue the test gives the installed program as the user's own, and the traces it finds.
make_users_catalogue() {
  local cli=$1 catalogue=$2
  win "$cli" encrypt "$(windows_path "$source/packaging/tests/fixture-catalogue.txt")" >"$catalogue"
  local traces=$WINEPREFIX/drive_c/QuillmereCheck/Cache
  mkdir -p "$traces"
  printf 'trace' >"$traces/one.tmp"
  printf 'another' >"$traces/two.tmp"
  printf 'not a trace' >"$traces/keep.txt"
}

# Every value the uninstall key must hold for the installed copy in FOLDER (a Windows path).
check_uninstall_key() {
  local folder=$1 expected_version=$2
  local -A expected=(
    [DisplayName]=Quillmere
    [DisplayVersion]=$expected_version
    [Publisher]=Dunvorel
    [DisplayIcon]="$folder\\Quillmere.exe,0"
    [InstallLocation]=$folder
    [UninstallString]="\"$folder\\Uninstall.exe\""
    [QuietUninstallString]="\"$folder\\Uninstall.exe\" /S"
  )
  for name in "${!expected[@]}"; do
    check_eq "the uninstall key's $name" "$(reg_value "$uninstall_key" "$name")" "${expected[$name]}"
  done
}

installer_test() {
  local setup=$dist/Quillmere-$version-win64-setup.exe shipped=$work/portable/Quillmere
  echo "== packaging: installer"
  check_eq "the installer's ProductVersion" "$(version_info "$setup" ProductVersion)" "$version"
  check "the installer asks for no elevation" grep -q 'requestedExecutionLevel level="asInvoker"' <(strings "$setup")
  # An older release: the same programs under an older version, one plug-in short.
  local older=$work/older/Quillmere added_plugin
  unzip -q "$dist/Quillmere-$version-win64-portable.zip" -d "$work/older"
  added_plugin=$(expected_plugins | tail -1)
  rm "$older/plugins/$added_plugin"
  "$source/packaging/windows/make-installer" "$older" 0.0.1 "$work/Quillmere-0.0.1-win64-setup.exe" >/dev/null

  local folder programs
  folder=$(folder_of LOCALAPPDATA)/Programs/Quillmere
  programs=$(folder_of APPDATA)/Microsoft/Windows/'Start Menu'/Programs
  local windows_folder
  windows_folder=$(win cmd /c echo '%LOCALAPPDATA%\Programs\Quillmere')

  win_wait "$work/Quillmere-0.0.1-win64-setup.exe" /S
  check "the silent install puts the program into the user's local programs folder" test -f "$folder/Quillmere.exe"
  check "a first install brings the shipped catalogue" cmp -s "$folder/PrivacyConfig.dat" "$older/PrivacyConfig.dat"
  check_eq "the uninstall key has the older version" "$(reg_value "$uninstall_key" DisplayVersion)" 0.0.1

  # The user's own catalogue, and a log of a run of it.
  make_users_catalogue "$folder/quillmere-cli.exe" "$folder/PrivacyConfig.dat"
  cp "$folder/PrivacyConfig.dat" "$work/users-catalogue"
  win "$folder/quillmere-cli.exe" --log show >/dev/null
  local log
  log=$(log_of "$folder")
  check "the installed program writes its log beside itself" test -n "$log"
  cp "$log" "$work/users-log" 2>/dev/null

  win_wait "$setup" /S
  check "an upgrade keeps the user's catalogue" cmp -s "$folder/PrivacyConfig.dat" "$work/users-catalogue"
  check "an upgrade keeps the logs" cmp -s "$log" "$work/users-log"
  check "an upgrade adds the new plug-in's file" test -f "$folder/plugins/$added_plugin"
  check "an upgrade installs every shipped plug-in file" diff -r "$shipped/plugins" "$folder/plugins"
  for program in Quillmere.exe quillmere-cli.exe; do
    check "an upgrade replaces $program" cmp -s "$folder/$program" "$shipped/$program"
  done
  check_eq "the installed command line tells the version" "$(win "$folder/quillmere-cli.exe" --version)" \
    "quillmere-cli $version"
  win "$folder/quillmere-cli.exe" show >"$work/show"
  check_eq "a show of the kept catalogue lists its two traces" "$(grep -c '^found' "$work/show")" 2
  check_lines "the traces are the files the catalogue names" "$work/show" \
    "$(printf 'found\tC:\\QuillmereCheck\\Cache\\one.tmp')" "$(printf 'found\tC:\\QuillmereCheck\\Cache\\two.tmp')"
  check "the Start-menu shortcut starts the installed program" \
    grep -qaF "$windows_folder\\Quillmere.exe" "$programs/Quillmere.lnk"
  check_uninstall_key "$windows_folder" "$version"
  local size
  size=$(find "$folder" -type f -printf '%s\n' | awk '{ bytes += $1 } END { print int(bytes / 1024) }')
  check_eq "the uninstall key's EstimatedSize is the folder's size in KiB" \
    "$(($(reg_value "$uninstall_key" EstimatedSize)))" "$size"

  # "Run at windows startup", as the program sets it.
  win reg add "$run_key" /v Quillmere /d "$windows_folder\\Quillmere.exe" /f >/dev/null
  win_wait "$folder/Uninstall.exe" /S
  for file in Quillmere.exe quillmere-cli.exe Uninstall.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt plugins; do
    check "the uninstall removes $file" test ! -e "$folder/$file"
  done
  check "the uninstall removes the Start-menu shortcut" test ! -e "$programs/Quillmere.lnk"
  check "the uninstall removes the uninstall key" key_absent "$uninstall_key"
  check_eq "the uninstall removes the program's start with Windows" "$(reg_value "$run_key" Quillmere)" ""
  check "a silent uninstall keeps the user's catalogue" cmp -s "$folder/PrivacyConfig.dat" "$work/users-catalogue"
  check "a silent uninstall keeps the logs" cmp -s "$log" "$work/users-log"

  win_wait "$setup" /S '/D=C:\Tools\Quillmere'
  check "/D= installs into the folder named" test -f "$WINEPREFIX/drive_c/Tools/Quillmere/quillmere-cli.exe"
  check_eq "the uninstall key names that folder" "$(reg_value "$uninstall_key" InstallLocation)" 'C:\Tools\Quillmere'
}
