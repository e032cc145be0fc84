#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU time the desktop program spends over a stretch of wall time, idle and with the job
# clock running, on a virtual display. The clock is started as a user does, by a mouse click
# on Start (a click from the keys would leave Start uncoloured and the watchdog would stop
# the clock again).
#   bench/clock_cpu.sh [PROGRAM] [SECONDS]     defaults: build/release/vantrel, 60
# Needs xvfb-run and xdotool (apt-get install xvfb xdotool).
set -euo pipefail

program=${1:-build/release/vantrel}
seconds=${2:-60}

for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "clock_cpu.sh: $tool is missing" >&2; exit 2; }
done
[[ -x "$program" ]] || { echo "clock_cpu.sh: no program at $program (make build)" >&2; exit 2; }

# Without a display, run again on a virtual one.
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$seconds"
fi

work=$(mktemp -d)
pid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A fresh application folder and settings store with the agreement already accepted, so the
# program comes straight up to its main window.
export VANTREL_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$VANTREL_HOME" "$XDG_CONFIG_HOME/Ploven"
printf '[Settings]\nSLA=1\n' >"$XDG_CONFIG_HOME/Ploven/Ploven.conf"

"$program" >"$work/program.log" 2>&1 &
pid=$!

window=$(timeout 30 xdotool search --sync --name '^Vantrel - Stopped$' | head -n 1)
[[ -n "$window" ]] || { echo "clock_cpu.sh: the main window did not appear" >&2; exit 1; }
sleep 3  # let start-up settle

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
measure() {
  local before after
  before=$(cpu_ticks)
  sleep "$seconds"
  after=$(cpu_ticks)
  awk -v t="$((after - before))" -v hz="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "%.2f s CPU in %d s (%.3f%%)", t / hz, s, 100 * t / hz / s }'
}

idle=$(measure)

# Start's centre in twips inside the clock frame, at 15 twips a pixel, below the menu bar.
# The button is 22 pixels high, so the click lands for any menu bar from 14 to 36 pixels.
start_x=$(((120 + 3300 + 450) / 15))
start_y=$(((420 + 240 + 165) / 15 + 25))
xdotool mousemove --window "$window" "$start_x" "$start_y" click 1
sleep 1
title=$(xdotool getwindowname "$window")
[[ "$title" == "Vantrel - Running" ]] || {
  echo "clock_cpu.sh: the click did not start the clock (title \"$title\")" >&2
  exit 1
}
running=$(measure)
title=$(xdotool getwindowname "$window")

echo "idle:          $idle"
echo "clock running: $running (title at the end: $title)"
