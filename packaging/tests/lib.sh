# What the packaging tests share: the checks, which count and say what failed, and what each release file
# must hold, taken from the sources rather than from the files made.
# Sourced by run, which sets source, dist, work and version.
# shellcheck shell=bash disable=SC2154

passed=0
failed=0

# check WHAT COMMAND...: passes when the command does.
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what"
  fi
}

# check_eq WHAT GOT EXPECTED
check_eq() {
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL: %s\n  got:      %s\n  expected: %s\n' "$1" "$2" "$3"
  fi
}

# check_lines WHAT FILE LINE...: each LINE is a whole line of FILE.
check_lines() {
  local what=$1 file=$2 missing=()
  shift 2
  for line in "$@"; do
    grep -qxF -- "$line" "$file" || missing+=("$line")
  done
  check_eq "$what" "${missing[*]}" ""
}

# The project version, as CMakeLists.txt declares it.
project_version() { sed -n 's/^project(Quillmere VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt"; }

# The names the catalogue gives its configurations: one per source file of data/.
software_names() { sed -n 's/^Software:\(.*\)/\1/p' "$source"/data/"$1"/*.txt | tr -d '\r'; }

# The tree nodes that a list of the shipped catalogue must print: the root, each built-in configuration and
# each plug-in.
expected_nodes() {
  echo 'Ur All Privacy'
  software_names root | sed 's/^/Ur All Privacy\\/'
  software_names plugins | sed 's/^/Ur All Privacy\\Plug-ins\\/'
}

# The plug-in files the catalogue's sources make, one a line.
expected_plugins() {
  for file in "$source"/data/plugins/*.txt; do basename "$file" .txt; done | sed 's/$/.pc/' | LC_ALL=C sort
}
