#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command as a client of its own headless Weston compositor, as on a Wayland desktop:
#   under_weston.sh COMMAND [ARGUMENTS...]
set -eu
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 \
  --width=1024 --height=640 >"$runtime/weston.log" 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null; wait $compositor 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 1 100); do
  [ -S "$runtime/wayland-test" ] && break
  kill -0 $compositor 2>/dev/null || { cat "$runtime/weston.log" >&2; exit 1; }
  sleep 0.05
done
WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland "$@"
