#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a scratch DESTDIR, as a package would, and checks what a desktop
# needs of it: exactly the expected files, icons of the sizes their folders name, a menu
# entry, AppStream description and file types that their validators accept, the file types
# resolved to the program, and the installed program copying the installed help pages.
#   check_install.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR
set -euo pipefail
build=$1 source=$2 scratch=$3
export LC_ALL=C.UTF-8  # the tools' answers are read in English
id=app.vantrel.Vantrel

rm -rf "$scratch"
mkdir -p "$scratch"
trap 'status=$?; [[ $status -eq 0 ]] && rm -rf "$scratch"; exit $status' EXIT
stage=$scratch/root
share=$stage/usr/share
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR=$stage cmake --install "$build" --prefix /usr >"$scratch/install.log" ||
  fail "cmake --install: $(cat "$scratch/install.log")"

# Exactly these files: nothing from the build folder, nothing forgotten.
sizes=(16 22 24 32 48 64 128 256)
expected=(usr/bin/vantrel
  usr/share/man/man1/vantrel.1.gz
  usr/share/man/de/man1/vantrel.1.gz
  usr/share/man/fr/man1/vantrel.1.gz
  usr/share/locale/de/LC_MESSAGES/vantrel.mo
  usr/share/locale/fr/LC_MESSAGES/vantrel.mo
  usr/share/doc/vantrel/copyright
  usr/share/doc/vantrel/changelog.gz
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
  usr/share/mime/packages/vantrel.xml
  usr/share/icons/hicolor/scalable/apps/vantrel.svg)
for size in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/vantrel.png"); done
for type in project price-list customer; do
  for folder in scalable 16x16; do
    expected+=("usr/share/icons/hicolor/$folder/mimetypes/application-x-vantrel-$type.svg")
  done
done
for page in "$source"/resources/help/{,*/}*.html "$source"/resources/help/{,*/}*.htm "$source"/resources/help/*.css; do
  name=${page#"$source"/resources/help/}
  expected+=("usr/share/vantrel/help/$name")
  cmp -s "$page" "$share/vantrel/help/$name" || fail "help page $name not installed as it is"
done
# Sound and printers: a module in the library folder (lib, or lib/<triplet> under /usr).
module=$(cd "$stage" && find usr/lib -path '*/vantrel/libvantrel_devices.so')
[[ -n $module ]] || fail "the sound and printer module is not installed"
expected+=("$module")
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$stage" && find . -type f -printf '%P\n' | sort) ||
  fail "the installed files differ from the expected ones (< expected, > installed)"

# Each PNG is as large as its folder says (width and height from the IHDR chunk).
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in "${sizes[@]}"; do
  got=$(png_size "$share/icons/hicolor/${size}x$size/apps/vantrel.png")
  [[ $got == "${size}x$size" ]] || fail "the ${size}x$size icon is $got"
done
for svg in "$share"/icons/hicolor/*/*/*.svg; do
  xmllint --noout "$svg" || fail "$svg is not well-formed"
done

# The program and its files are found by the names the others give.
for binary in usr/bin/vantrel "$module"; do
  if readelf -d "$stage/$binary" | grep -E 'R(UN)?PATH'; then fail "$binary keeps a library path"; fi
done
if ldd -r "$stage/$module" 2>&1 | grep -E 'undefined symbol|not found'; then fail "the module lacks a library"; fi
desktop=$share/applications/$id.desktop
grep -qx 'Exec=vantrel %f' "$desktop" || fail "the menu entry does not pass the file to open"
grep -qx 'Icon=vantrel' "$desktop" || fail "the menu entry names another icon"
for lang in de fr; do
  grep -q "^Name\[$lang\]=" "$desktop" || fail "the menu entry has no name in $lang"
done

# The validators.
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --strict "$share/metainfo/$id.metainfo.xml" >"$scratch/as.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$scratch/as.log")"
xmllint --noout --relaxng "$source/tests/install/shared-mime-info.rng" "$share/mime/packages/vantrel.xml" ||
  fail "xmllint: the file types"
# The translated manual pages: man and groff read them as cleanly as the English one
# (cli/manual_page.sh; groff through preconv, as man does, for they are UTF-8), mandb finds
# their name line for apropos, and they keep the English page's sections and paragraphs.
skeleton() { gzip -dc "$1" | grep -oE '^\.(SH|TP|PP)' | tr '\n' ' '; }
for lang in de fr; do
  page=$share/man/$lang/man1/vantrel.1.gz
  warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) ||
    fail "man could not read the $lang page: $warnings"
  [[ -z $warnings ]] || fail "man warns on the $lang page: $warnings"
  warnings=$(gzip -dc "$page" | groff -k -ww -man -z 2>&1) || fail "groff could not read the $lang page: $warnings"
  [[ -z $warnings ]] || fail "groff warns on the $lang page: $warnings"
  lexgrog "$page" >/dev/null || fail "the $lang page has no name line apropos can read"
  [[ $(skeleton "$page") == $(skeleton "$share/man/man1/vantrel.1.gz") ]] ||
    fail "the $lang page's sections and paragraphs differ from the English page's"
done

# The desktop's own databases take the files, and resolve each kind of file to its type,
# a project (whose extension printer files share) to the program.
export XDG_DATA_DIRS=$share:/usr/local/share:/usr/share XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config
update-mime-database "$share/mime" 2>"$scratch/mime.log" && [[ ! -s $scratch/mime.log ]] ||
  fail "update-mime-database: $(cat "$scratch/mime.log")"
update-desktop-database "$share/applications" || fail "update-desktop-database"
for pair in job.pcl:project prices.pql:price-list card.pcp:customer; do
  file=$scratch/${pair%%:*} type=application/x-vantrel-${pair#*:}
  printf '0\r\n' >"$file"  # an empty file is taken for plain text, whatever its name
  got=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
  [[ $got == "$type" ]] || fail "${file##*/} is taken for '$got', not $type"
done
# (A menu entry counts only when its program is on the PATH.)
handlers=$(PATH=$stage/usr/bin:$PATH gio mime application/x-vantrel-project)
[[ $handlers == *"Default application"*"$id.desktop"* ]] || fail "no program opens a project: $handlers"

# Installed, the program copies its help pages from its shared folder (when its main window
# loads, after the splash; the agreement is accepted).
printf '<!-- installed -->\n' >>"$share/vantrel/help/index.html"
home=$scratch/home
mkdir -p "$XDG_CONFIG_HOME/Ploven"
printf '[Settings]\nSLA=1\n' >"$XDG_CONFIG_HOME/Ploven/Ploven.conf"
VANTREL_HOME=$home QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  "$stage/usr/bin/vantrel" >"$scratch/run.log" 2>&1 &
program=$!
for _ in $(seq 150); do
  grep -qs 'installed' "$home/help/index.html" && break
  sleep 0.1
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
grep -qs 'installed' "$home/help/index.html" || fail "the program did not take its installed help pages: $(cat "$scratch/run.log")"
echo "installed files, validators and file types: all good"
