// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vantrel {

// Details kept after a file's fixed lines as "Key=value", one a line, so a file that has
// none of them keeps exactly its old lines. Empty values are left out; a backslash and a
// line end inside a value are written \\ and \n.
std::vector<std::string> keyedLines(const std::vector<std::pair<const char*, std::string>>& values);
// The keys and values of such lines, in order; a line without "=" is passed over.
std::vector<std::pair<std::string, std::string>> keyedValues(const std::vector<std::string>& lines);

}  // namespace vantrel
