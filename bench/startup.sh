#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and memory of the desktop program against a bare Qt Widgets window.
#
#   bash bench/startup.sh
#
# Builds vantrel, bench/bare_window.cpp (one plain Fusion-style QMainWindow of the main
# window's size) and bench/first_window.cpp (the measuring tool) in a Release build folder,
# starts one Xvfb display with no window manager and runs, alternately, ROUNDS rounds of
#   - Vantrel with a new, empty application folder and a new settings folder in which the
#     licence agreement is accepted (so its first window is the splash), and
#   - the bare window,
# after one warm-up round of each that is not counted. Each run is timed from the fork to the
# X server's MapNotify of the program's first top-level window (Vantrel's splash) and to the
# program's first drawing into it (seen with the DAMAGE extension); its resident memory
# (VmRSS) and proportional set size (Pss) are read SETTLE seconds after the window appeared
# (Vantrel's main window comes 1.5 s after its splash, and opens the job named on its command
# line after that). Prints the median, minimum and maximum times and the median memory of each
# program, the ratios Vantrel / bare window against the targets (window mapped <= 1.2, first
# drawn <= 1.2, memory RSS <= 1.4), and where the time goes: the median length of each phase
# of start-up, from the marks both programs write when VANTREL_STARTUP_MARKS names a file.
# Pss depends on what else shares the Qt libraries at that moment; RSS does not.
#
# The cache folder ($XDG_CACHE_HOME) is kept from run to run, as a desktop keeps it: there
# Vantrel keeps the picture its splash first shows while the fonts are read (see
# src/platform/qt/window_picture.h). The warm-up run starts without one, as the very first
# start does; its figures are printed too.
#
# Settings, from the environment:
#   STARTUP_BUILD   build folder                       default build/startup-bench
#   STARTUP_ROUNDS  counted rounds                     default 15
#   STARTUP_SETTLE  seconds from window to memory      default 5
#   STARTUP_DISPLAY first X display number to try      default 91
#   STARTUP_ENTRIES Vantrel opens a job with a work log of this many entries, named on its
#                   command line                       default 0: no job
#   STARTUP_SESSION_BUS=1  run the programs on a private D-Bus session bus (dbus-run-session),
#                   as on a desktop; by default there is none, as on a build machine or a
#                   console login, and Qt's accessibility bridge looks for one in vain
# The programs run in the caller's locale (LANG, LC_ALL, LANGUAGE).
# About 5 s a run: 15 rounds take about 3 minutes, plus the build.
# Exit status: 0 with the figures, missed targets or not (this is a benchmark, not a test);
# 1 when a run showed no window; 2 when the build or the display could not be set up.
# Needs cmake, Qt 6, libxcb1-dev and Xvfb (apt-get install xvfb libxcb1-dev); Ninja if there.
set -euo pipefail
script=$(realpath "$0")
cd "$(dirname "$script")/.."

if [[ "${STARTUP_SESSION_BUS:-0}" == 1 && -z "${STARTUP_ON_BUS:-}" ]]; then
  command -v dbus-run-session >/dev/null ||
    { echo "startup.sh: dbus-run-session is missing (apt-get install dbus)" >&2; exit 2; }
  # (the daemon's complaint that it may not raise its file limit is no news)
  STARTUP_ON_BUS=1 exec dbus-run-session -- bash "$script" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
[[ -n "${STARTUP_ON_BUS:-}" ]] || unset DBUS_SESSION_BUS_ADDRESS
# The programs run in the caller's locale; the figures are read and written in C's, where a
# decimal point is one.
locale=(LANG="${LANG:-}" LC_ALL="${LC_ALL:-}" LC_NUMERIC="${LC_NUMERIC:-}"
        LC_MESSAGES="${LC_MESSAGES:-}" LANGUAGE="${LANGUAGE:-}")
caller_locale="LANG=${LANG:-} LC_ALL=${LC_ALL:-} LANGUAGE=${LANGUAGE:-}"
export LC_ALL=C
unset LANGUAGE

build=${STARTUP_BUILD:-build/startup-bench}
rounds=${STARTUP_ROUNDS:-15}
settle=${STARTUP_SETTLE:-5}
display=${STARTUP_DISPLAY:-91}
entries=${STARTUP_ENTRIES:-0}
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "startup.sh: STARTUP_ROUNDS must be 1 or more" >&2; exit 2; }
[[ "$settle" =~ ^[0-9]+$ ]] || { echo "startup.sh: STARTUP_SETTLE must be whole seconds" >&2; exit 2; }
[[ "$entries" =~ ^[0-9]+$ ]] || { echo "startup.sh: STARTUP_ENTRIES must be a number" >&2; exit 2; }
for tool in cmake Xvfb; do
  command -v "$tool" >/dev/null || { echo "startup.sh: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-startup.XXXXXX")
xvfb_pid=
run_pid=
cleanup() {
  trap - EXIT INT TERM
  set +e
  # The measuring tool takes its program with it (PR_SET_PDEATHSIG).
  if [[ -n "$run_pid" ]]; then
    kill "$run_pid" 2>/dev/null
    wait "$run_pid" 2>/dev/null
  fi
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- build ----
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
generator=()
[[ -f "$build/CMakeCache.txt" ]] || ! command -v ninja >/dev/null || generator=(-G Ninja)
echo "Building in $build ..."
if ! cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF \
       -DVANTREL_BENCH=ON >"$work/build.log" 2>&1 ||
   ! cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" \
       --target vantrel bare_window first_window worklog_bench >>"$work/build.log" 2>&1; then
  tail -n 30 "$work/build.log" >&2
  echo "startup.sh: the build failed" >&2
  exit 2
fi
vantrel=$PWD/$build/vantrel
bare=$PWD/$build/bench/bare_window
measure=$PWD/$build/bench/first_window
job=()
if [[ "$entries" -gt 0 ]]; then
  "$PWD/$build/bench/worklog_bench" --write-job "$work/job.pcl" "$entries" ||
    { echo "startup.sh: could not write the job" >&2; exit 2; }
  job=("$work/job.pcl")
fi
mkdir -p "$work/cache"

# ---- one virtual display, no window manager ----
while [[ -e "/tmp/.X$display-lock" || -e "/tmp/.X11-unix/X$display" ]]; do
  display=$((display + 1))
done
# Xvfb writes the display number to the file once it accepts clients.
Xvfb ":$display" -screen 0 1400x1050x24 -nolisten tcp -displayfd 3 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$work/display" ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -s "$work/display" ]]; then
  cat "$work/xvfb.log" >&2
  echo "startup.sh: Xvfb :$display did not start" >&2
  exit 2
fi
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

# ---- runs ----
# run NAME ROUND: one measured start of NAME (vantrel or bare) in fresh folders; appends its
# figures to $work/NAME.txt, and the ends of its phases (ms from the fork: main, platform,
# settings, shown, mapped, drawn; -1 where it has no such mark) to
# $work/NAME.marks, or for ROUND 0 (the warm-up) to $work/NAME.first. Returns 1 when no
# window showed.
failures=0
run() {
  local name=$1 round=$2 dir program=() status=0 out
  dir=$(mktemp -d "$work/run.XXXXXX")
  mkdir -p "$dir/home" "$dir/config/Ploven" "$dir/runtime"
  chmod 700 "$dir/runtime"
  printf '[Settings]\nSLA=1\n' >"$dir/config/Ploven/Ploven.conf"
  [[ "$name" == vantrel ]] && program=("$vantrel" "${job[@]}") || program=("$bare")
  env "${locale[@]}" VANTREL_HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" \
    XDG_RUNTIME_DIR="$dir/runtime" XDG_CACHE_HOME="$work/cache" VANTREL_STARTUP_MARKS="$dir/marks" \
    "$measure" --timeout 20 --settle "$settle" -- "${program[@]}" >"$dir/figures" 2>"$dir/log" &
  run_pid=$!
  wait "$run_pid" || status=$?
  run_pid=
  if [[ $status -ne 0 ]]; then
    echo "startup.sh: $name, round $round: no measurement (status $status)" >&2
    tail -n 20 "$dir/log" >&2
    rm -rf "$dir"
    return 1
  fi
  [[ "$round" -gt 0 ]] && out=$work/$name || out=$work/$name.first
  awk '{ v[$1] = $2 } END { print v["window_ms"], v["paint_ms"], v["rss_kb"], v["pss_kb"] }' \
    "$dir/figures" >>"$out.txt"
  touch "$dir/marks"
  awk 'FNR == NR { v[$1] = $2; next } { m[$1] = $2 }
    END {
      n = split("main platform settings shown", phase, " ")
      for (i = 1; i <= n; ++i)
        printf "%s ", (phase[i] in m) ? sprintf("%.3f", m[phase[i]] - v["start_at"]) : -1
      print v["window_ms"], v["paint_ms"] }' "$dir/figures" "$dir/marks" >>"$out.marks"
  rm -rf "$dir"
}

echo "Xvfb $DISPLAY (1400x1050x24), $([[ -n "${STARTUP_ON_BUS:-}" ]] && echo "a private" ||
  echo "no") session bus: 1 warm-up and $rounds counted rounds, memory read ${settle} s after" \
  "the first window"
echo "Locale: $caller_locale;" \
  "$([[ "$entries" -gt 0 ]] && echo "Vantrel opens a job of $entries log entries" || echo "no job")"
for name in vantrel bare; do
  : >"$work/$name.txt"
  : >"$work/$name.marks"
done
for round in $(seq 0 "$rounds"); do
  run vantrel "$round" || failures=$((failures + 1))
  run bare "$round" || failures=$((failures + 1))
  [[ "$round" -gt 0 ]] && printf '.' >&2
done
echo >&2

# ---- figures ----
# stats FILE COLUMN: "median min max" of one column of FILE, -1 values left out.
stats() {
  cut -d ' ' -f "$2" "$1" | awk '$1 >= 0' | sort -g |
    awk '{ v[NR] = $1 } END {
      if (NR == 0) { print -1, -1, -1; exit }
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print m, v[1], v[NR] }'
}

# phases NAME: the median length of each phase up to the settings read, from the ends in
# $work/NAME.marks (a phase the program has no mark for is folded into the next), then of
# building and mapping the first window, and of its first drawing from the map. Qt starts its
# accessibility bridge in the window's show: in both programs after the window is mapped.
phases() {
  awk '{ last = 0
         for (i = 1; i <= 3; ++i) {
           if ($i < 0) { printf "-1 "; continue }
           printf "%.3f ", $i - last; last = $i }
         printf "%.3f %.3f\n", $5 - last, ($6 < 0) ? -1 : $6 - $5 }' "$work/$1.marks" \
    >"$work/$1.lengths"
  for column in 1 2 3 4 5; do
    printf '%s ' "$(stats "$work/$1.lengths" "$column" | cut -d ' ' -f 1)"
  done
  echo
}
if [[ ! -s "$work/vantrel.txt" || ! -s "$work/bare.txt" ]]; then
  echo "startup.sh: no complete runs to report" >&2
  exit 1
fi
{
  for name in vantrel bare; do
    figures=$work/$name.txt
    echo "$name $(wc -l <"$figures") $(stats "$figures" 1) $(stats "$figures" 2)" \
      "$(stats "$figures" 3) $(stats "$figures" 4)"
  done
  for name in vantrel bare; do
    [[ -s "$work/$name.first.txt" ]] && echo "first-$name $(cat "$work/$name.first.txt")"
    echo "phases-$name $(phases "$name")"
  done
} | awk -v load="$(cut -d ' ' -f 1-3 /proc/loadavg)" '
  $1 ~ /^first-/ { first[substr($1, 7)] = $2 " " $3; next }
  $1 ~ /^phases-/ { for (i = 2; i <= 6; ++i) ph[substr($1, 8), i - 1] = $i; next }
  { n[$1] = $2; map[$1] = $3; mapmin[$1] = $4; mapmax[$1] = $5
    paint[$1] = $6; paintmin[$1] = $7; paintmax[$1] = $8; rss[$1] = $9; pss[$1] = $12 }
  function mb(kb) { return kb < 0 ? "-" : sprintf("%.1f", kb / 1024) }
  function ms(x) { return x < 0 ? "-" : sprintf("%.1f", x) }
  function row(name, label) {
    printf "%-12s %4d   %7s %7s %7s   %7s %7s %7s   %7s %7s\n", label, n[name], ms(map[name]),
           ms(mapmin[name]), ms(mapmax[name]), ms(paint[name]), ms(paintmin[name]),
           ms(paintmax[name]), mb(rss[name]), mb(pss[name])
  }
  function ratio(a, b) { return (a > 0 && b > 0) ? a / b : -1 }
  function verdict(r, target) { return r < 0 ? "-" : (r <= target ? "PASS" : "MISS") }
  END {
    printf "\n%-12s %4s   %-23s   %-23s   %-15s\n", "", "", "window mapped (ms)",
           "first drawn (ms)", "memory (MB)"
    printf "%-12s %4s   %7s %7s %7s   %7s %7s %7s   %7s %7s\n", "program", "runs", "median",
           "min", "max", "median", "min", "max", "RSS", "PSS"
    row("vantrel", "vantrel")
    row("bare", "bare window")
    t = ratio(map["vantrel"], map["bare"]); d = ratio(paint["vantrel"], paint["bare"])
    r = ratio(rss["vantrel"], rss["bare"]); p = ratio(pss["vantrel"], pss["bare"])
    printf "\nVantrel / bare window (medians)\n"
    printf "  start-up, window mapped  %5.2f   target <= 1.20   %s\n", t, verdict(t, 1.2)
    printf "  start-up, first drawn    %5.2f   target <= 1.20   %s\n", d, verdict(d, 1.2)
    printf "  memory, RSS              %5.2f   target <= 1.40   %s\n", r, verdict(r, 1.4)
    if (p > 0) printf "  memory, PSS              %5.2f   (for comparison)\n", p
    printf "  difference: %+.1f ms to the window, %+.1f ms to its first drawing, %+.1f MB RSS\n",
           map["vantrel"] - map["bare"], paint["vantrel"] - paint["bare"],
           (rss["vantrel"] - rss["bare"]) / 1024
    split("process start and libraries|Qt platform set-up (QApplication, style)|" \
          "program folder, lock, settings read|first window built and mapped|" \
          "accessibility bridge started, first drawing", label, "|")
    printf "\nWhere the time goes (median ms of each phase)  %8s %8s\n", "vantrel", "bare"
    for (i = 1; i <= 5; ++i)
      printf "  %-44s %8s %8s\n", label[i], ms(ph["vantrel", i]), ms(ph["bare", i])
    if ("vantrel" in first)
      printf "\nThe warm-up runs (no splash picture kept yet, as at a very first start):\n" \
             "  vantrel mapped %s ms, drawn %s ms; bare window mapped %s ms, drawn %s ms\n",
             substr(first["vantrel"], 1, index(first["vantrel"], " ") - 1),
             substr(first["vantrel"], index(first["vantrel"], " ") + 1),
             substr(first["bare"], 1, index(first["bare"], " ") - 1),
             substr(first["bare"], index(first["bare"], " ") + 1)
    printf "Load average at the end: %s (other work on the machine slows both programs)\n", load
  }'
if [[ $failures -gt 0 ]]; then
  echo "startup.sh: $failures run(s) showed no window" >&2
  exit 1
fi
exit 0
