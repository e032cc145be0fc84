// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/csv_text.h"

namespace vantrel {

std::string csvField(const std::string& text, char separator) {
  if (text.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string formulaSafe(const std::string& text) {
  if (text.empty()) return text;
  const auto first = static_cast<unsigned char>(text.front());
  const bool risky = first == '=' || first == '+' || first == '-' || first == '@' || first < 0x20;
  return risky ? "'" + text : text;
}

std::string withDecimal(std::string number, char decimal) {
  for (char& c : number) {
    if (c == '.') c = decimal;
  }
  return number;
}

}  // namespace vantrel
