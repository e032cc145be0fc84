#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed command's own options, as a user at a text console runs them: no display,
# no Qt platform chosen. --version names the build's version, --help the environment the
# sources read, and both end with status 0 having written only to standard output.
#   command_line.sh PROGRAM VERSION SOURCE_DIR
set -euo pipefail
program=$1 version=$2 source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
console() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

for option in --version --help; do
  status=0
  console "$option" >"$scratch/out" 2>"$scratch/err" || status=$?
  [[ $status -eq 0 ]] || fail "vantrel $option ended with $status: $(cat "$scratch/err")"
  [[ ! -s $scratch/err ]] || fail "vantrel $option wrote to standard error: $(cat "$scratch/err")"
  cp "$scratch/out" "$scratch/$option"
done
[[ $(cat "$scratch/--version") == "Vantrel $version" ]] ||
  fail "vantrel --version says '$(cat "$scratch/--version")', not 'Vantrel $version'"
head -1 "$scratch/--help" | grep -q '^Usage: vantrel ' || fail "vantrel --help starts with no usage line"

# Every environment variable the program reads is explained.
names=$(grep -rhoE '(getenv|qEnvironmentVariable|qgetenv)\("[A-Z_]+"\)' "$source/src" |
  sed -E 's/.*"(.*)".*/\1/' | sort -u)
[[ -n $names ]] || fail "found no environment variable in the sources"
for name in $names; do
  grep -qw "$name" "$scratch/--help" || fail "vantrel --help does not explain $name"
done

# A reply that cannot be written is a failure.
if [[ -w /dev/full ]] && console --version >/dev/full 2>/dev/null; then
  fail "vantrel --version >/dev/full ended with status 0"
fi
echo "--help and --version: all good"
