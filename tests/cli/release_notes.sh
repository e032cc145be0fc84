#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The release this build says it is (project() in CMakeLists.txt, and the date the AppStream
# description and the manual page give) is the newest entry of NEWS and of the package's
# changelog, so a new version cannot ship with the notes of the last one.
#   release_notes.sh SOURCE_DIR VERSION DATE
set -euo pipefail
source=$1 version=$2 date=$3
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

news=$(head -1 "$source/NEWS")
[[ $news == "Vantrel $version, $date" ]] || fail "NEWS begins '$news', not 'Vantrel $version, $date'"

changelog=$source/resources/package/changelog
entry=$(head -1 "$changelog")
[[ $entry == "vantrel ($version) "* ]] || fail "the changelog begins '$entry', not version $version"
signed=$(sed -n 's/^ -- .*>  //p' "$changelog" | head -1)
[[ -n $signed ]] || fail "the changelog's newest entry is not signed"
[[ $(LC_ALL=C date -u -d "$signed" +%F) == "$date" ]] ||
  fail "the changelog's newest entry is dated '$signed', not $date"
echo "release notes of $version: all good"
