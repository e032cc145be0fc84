// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace vantrel {

// `vantrel --help` and `vantrel --version`: what they print, before any window or display
// is needed. Either is an option only when it is the whole command line; any other words
// are the path of a project file as they always were (main_shell.h), so a file really named
// "--help" opens as `vantrel ./--help`.
//
// The text to print to standard output and end with, or nothing for a start of the program.
std::optional<std::string> commandLineReply(int argc, const char* const* argv);

}  // namespace vantrel
