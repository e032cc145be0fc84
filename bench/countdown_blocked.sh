#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A two-minute countdown on the desktop program, its event loop blocked 5 s in every 20 s and,
# for comparison, free: when does it end by the wall clock? About 4.5 minutes.
#   bench/countdown_blocked.sh        (builds build/bench first, as make bench does)
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -f build/bench/CMakeCache.txt ]] ||
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF \
    -DVANTREL_BENCH=ON >/dev/null
cmake --build build/bench --target countdown_blocked >/dev/null
export QT_QPA_PLATFORM=offscreen
build/bench/bench/countdown_blocked 2>/dev/null
build/bench/bench/countdown_blocked --free 2>/dev/null
