#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page as installed: man and groff read it without a single warning (the check
# lintian makes of a package's pages), and it explains the options and every environment
# variable the program reads.
#   manual_page.sh PAGE.1.gz SOURCE_DIR
set -euo pipefail
page=$1 source=$2
export LC_ALL=C.UTF-8
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) ||
  fail "man could not read $page: $warnings"
[[ -z $warnings ]] || fail "man warns: $warnings"
warnings=$(gzip -dc "$page" | groff -ww -man -z 2>&1) || fail "groff could not read $page: $warnings"
[[ -z $warnings ]] || fail "groff warns: $warnings"

text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
names=$(grep -rhoE '(getenv|qEnvironmentVariable|qgetenv)\("[A-Z_]+"\)' "$source/src" |
  sed -E 's/.*"(.*)".*/\1/' | sort -u)
for word in --help --version $names; do
  grep -qe "$word" <<<"$text" || fail "the manual page does not explain $word"
done
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT "EXIT STATUS"; do
  grep -qx "$section" <<<"$text" || fail "the manual page has no $section section"
done
echo "manual page: all good"
