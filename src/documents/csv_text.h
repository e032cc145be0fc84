// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel {

// Spreadsheet files (RFC 4180): a field quoted where it holds a quote, a line end or the
// separator.
std::string csvField(const std::string& text, char separator);
// A text that a spreadsheet would take for a formula (or a control) stays text: "'" first.
std::string formulaSafe(const std::string& text);
// A number written with a point, given the locale's decimal separator instead.
std::string withDecimal(std::string number, char decimal);

}  // namespace vantrel
