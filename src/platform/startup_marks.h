// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace vantrel {

// Where start-up spends its time. When VANTREL_STARTUP_MARKS names a file, each call
// appends "PHASE MS" to it: the moment the phase ended on CLOCK_MONOTONIC, in milliseconds,
// the clock bench/startup.sh starts the program by. Otherwise it does nothing.
inline void startupMark(const char* phase) {
  static const char* const file = std::getenv("VANTREL_STARTUP_MARKS");
  if (file == nullptr || *file == '\0') return;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  if (std::FILE* out = std::fopen(file, "a")) {
    std::fprintf(out, "%s %.3f\n", phase,
                 static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6);
    std::fclose(out);
  }
}

}  // namespace vantrel
