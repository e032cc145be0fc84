#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A screen reader started after the program still finds its windows: Qt's accessibility comes
# up when the accessibility bus appears, also after a start whose splash was first drawn from
# its kept picture, before any widget was made.
#   under_xvfb.sh late_screen_reader.sh PROGRAM
# Runs on a D-Bus session bus of its own; QT_LINUX_ACCESSIBILITY_ALWAYS_ON stands in for the
# screen reader's "on" switch.
set -euo pipefail
program=$1
if [[ -z ${LATE_READER_ON_BUS:-} ]]; then
  LATE_READER_ON_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_CACHE_HOME=$scratch/cache QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# start NAME: the program in application and settings folders of its own, agreement accepted.
start() {
  mkdir -p "$scratch/$1/home" "$scratch/$1/config/Ploven" "$scratch/$1/runtime"
  chmod 700 "$scratch/$1/runtime"
  printf '[Settings]\nSLA=1\n' >"$scratch/$1/config/Ploven/Ploven.conf"
  VANTREL_HOME=$scratch/$1/home XDG_CONFIG_HOME=$scratch/$1/config \
    XDG_RUNTIME_DIR=$scratch/$1/runtime "$program" >"$scratch/$1.log" 2>&1 &
  pids+=($!)
}

# The first start keeps a picture of the splash; the second shows it first.
start first
for _ in $(seq 1 100); do
  compgen -G "$scratch/cache/vantrel/frmSplash-*.pixels" >/dev/null && break
  sleep 0.1
done
compgen -G "$scratch/cache/vantrel/frmSplash-*.pixels" >/dev/null || fail "no picture of the splash was kept"
kill "${pids[0]}"
start second
sleep 3

# Now the screen reader's side comes up, and asks for the applications and their windows.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$scratch/launcher.log" 2>&1 &
pids+=($!)
names=
for _ in $(seq 1 50); do
  sleep 0.2
  reply=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress 2>/dev/null) || continue
  address=$(sed -E "s/^\('(.*)',\)$/\1/" <<<"$reply")
  apps=$(gdbus call --address "$address" --dest org.a11y.atspi.Registry \
           --object-path /org/a11y/atspi/accessible/root \
           --method org.a11y.atspi.Accessible.GetChildren 2>/dev/null) || continue
  names=
  for app in $(grep -oE "':[0-9]+\.[0-9]+'" <<<"$apps" | tr -d "'"); do
    windows=$(gdbus call --address "$address" --dest "$app" \
                --object-path /org/a11y/atspi/accessible/root \
                --method org.a11y.atspi.Accessible.GetChildren 2>/dev/null) || continue
    for path in $(grep -oE "/org/a11y/atspi/accessible/[0-9]+" <<<"$windows"); do
      names+=$(gdbus call --address "$address" --dest "$app" --object-path "$path" \
                 --method org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name \
                 2>/dev/null)$'\n'
    done
  done
  grep -q "Vantrel - Stopped" <<<"$names" && break
done
grep -q "Vantrel - Stopped" <<<"$names" ||
  fail "the screen reader found no main window; it found: ${names:-nothing}"
echo "late screen reader: found $(grep -c . <<<"$names") window(s): $(tr '\n' ' ' <<<"$names")"
