#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on an X server of its own (Xvfb), as on an X11 desktop; exits 77 (skipped)
# where Xvfb is not installed:
#   under_xvfb.sh COMMAND [ARGUMENTS...]
set -eu
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }
runtime=$(mktemp -d)
# Xvfb picks a free display and writes its number to the descriptor given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$runtime/display" \
  >"$runtime/xvfb.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 1 100); do
  [ -s "$runtime/display" ] && break
  kill -0 $server 2>/dev/null || { cat "$runtime/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
DISPLAY=":$(cat "$runtime/display")" QT_QPA_PLATFORM=xcb "$@"
