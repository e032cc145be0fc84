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

// A section of such lines under its heading; no lines at all where every value is empty.
std::vector<std::string> keyedSection(
    const char* heading, const std::vector<std::pair<const char*, std::string>>& values);
// The values of a section that begins with `heading`; none for other lines.
std::vector<std::pair<std::string, std::string>> sectionValues(
    const char* heading, const std::vector<std::string>& lines);

// The heading of the invoice details in the price list and the project file.
inline constexpr const char* kInvoiceSection = "[Invoice]";

}  // namespace vantrel
