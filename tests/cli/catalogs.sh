#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The translators' template is what the sources mark today, and every catalog translates all
# of it: a text marked since the last `make pot`, or one left untranslated, fails here.
set -euo pipefail
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$source_dir/scripts/update-catalogs" pot "$scratch/vantrel.pot"
if ! diff -u "$source_dir/po/vantrel.pot" "$scratch/vantrel.pot" >"$scratch/diff"; then
  head -40 "$scratch/diff"
  echo "po/vantrel.pot is not what the sources mark: run make pot, then make po" >&2
  exit 1
fi

status=0
for po in "$source_dir"/po/*.po; do
  lang=$(basename "$po" .po)
  # Complete means: every text of the template, none fuzzy, none missing.
  msgmerge --quiet --add-location=file -o "$scratch/$lang.po" "$po" "$source_dir/po/vantrel.pot"
  report=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$scratch/$lang.po" 2>&1)
  echo "$lang: $report"
  [[ "$report" != *fuzzy* && "$report" != *untranslated* ]] || status=1
done
exit $status
