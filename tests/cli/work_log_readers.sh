#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The work log's exports, and the register of issued invoices, as the programs a user opens
# them with read them, under an English and a German desktop: LibreOffice Calc opens the CSV as a user of that locale does, and
# Python's icalendar reads the iCalendar file. What Calc adds up is what the saved job's clock
# and minute counter say. Both readers must be there (scripts/bootstrap --test installs them).
#   work_log_readers.sh DRIVER
set -euo pipefail
driver=$1
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

command -v soffice >/dev/null 2>&1 || fail "LibreOffice Calc (soffice) is not installed"
# A python3 ahead on PATH (a virtual environment, pyenv) may lack the system's icalendar.
python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import icalendar' >/dev/null 2>&1; then
    python=$candidate
    break
  fi
done
[[ -n $python ]] || fail "Python's icalendar is not installed (python3-icalendar)"
check() { "$python" "$here/work_log_readers.py" "$@"; }

# Calc's CSV import options: the separator, the text delimiter ("), the character set (76,
# UTF-8), the first line to read, the columns' formats, the language of the numbers, quoted
# fields as text (no), special numbers (no), four that only exporting reads, and formulas
# evaluated (yes, so a note that reads as one becomes one). Every column is Standard, as the
# import dialog offers them: a number is one by the language's rules, nothing is forced to text.
columns=1/1/2/1/3/1/4/1/5/1/6/1/7/1/8/1/9/1/10/1
for locale in en_US.UTF-8 de_DE.UTF-8; do
  # The language goes as a Windows language id: Calc reads a name such as de-DE as none at
  # all and falls back to the desktop's locale.
  case $locale in
    en_US.*) separator=, code=44 language=1033 ;;
    de_DE.*) separator=';' code=59 language=1031 ;;
  esac
  home=$scratch/$locale
  mkdir "$home"
  # The splash takes the first two seconds, so the clock starts at 09:00:00.
  TZ=Europe/Berlin LC_ALL=$locale "$driver" --home "$home" --now "2026-12-10 08:59:58" \
    --locale "$locale" "$here/work_log_export.vts" >"$home/driver.log" 2>&1 ||
    fail "the story did not play under $locale: $(cat "$home/driver.log")"
  for file in job.pcl log.csv log.ics invoices.csv; do
    [[ -s $home/$file ]] || fail "the story wrote no $file under $locale"
  done
  totals=$(check totals "$home/job.pcl")
  read -r seconds minutes <<<"$totals"

  options=$code,34,76,1,$columns,$language,false,false,,,,,true
  LC_ALL=$locale soffice -env:UserInstallation="file://$home/office" --headless \
    --infilter="Text - txt - csv (StarCalc):$options" --convert-to fods --outdir "$home" \
    "$home/log.csv" >"$home/office.log" 2>&1 || fail "Calc failed: $(cat "$home/office.log")"
  [[ -s $home/log.fods ]] || fail "Calc made no sheet of log.csv: $(cat "$home/office.log")"
  check csv "$home/log.csv" "$home/log.fods" "$separator" "$seconds" "$minutes"
  check ics "$home/log.ics"
  LC_ALL=$locale soffice -env:UserInstallation="file://$home/office" --headless \
    --infilter="Text - txt - csv (StarCalc):$options" --convert-to fods --outdir "$home" \
    "$home/invoices.csv" >"$home/office.log" 2>&1 || fail "Calc failed: $(cat "$home/office.log")"
  check register "$home/invoices.fods"
  echo "the work log's and the invoice register's exports under $locale: all good"
done
