// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/keyed_lines.h"

namespace vantrel {

namespace {

// One value a line: a backslash and a line end inside it are written \\ and \n.
std::string escaped(const std::string& value) {
  std::string out;
  for (char c : value) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

std::string unescaped(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      out += value[++i] == 'n' ? '\n' : value[i];
    } else {
      out += value[i];
    }
  }
  return out;
}
}  // namespace

std::vector<std::string> keyedLines(
    const std::vector<std::pair<const char*, std::string>>& values) {
  std::vector<std::string> lines;
  for (const auto& [key, value] : values) {
    if (!value.empty()) lines.push_back(std::string(key) + "=" + escaped(value));
  }
  return lines;
}

std::vector<std::pair<std::string, std::string>> keyedValues(
    const std::vector<std::string>& lines) {
  std::vector<std::pair<std::string, std::string>> values;
  for (const std::string& line : lines) {
    const auto equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    values.emplace_back(line.substr(0, equals),
                        unescaped(std::string_view(line).substr(equals + 1)));
  }
  return values;
}

std::vector<std::string> keyedSection(
    const char* heading, const std::vector<std::pair<const char*, std::string>>& values) {
  std::vector<std::string> lines = keyedLines(values);
  if (!lines.empty()) lines.insert(lines.begin(), heading);
  return lines;
}

std::vector<std::pair<std::string, std::string>> sectionValues(
    const char* heading, const std::vector<std::string>& lines) {
  if (lines.empty() || lines.front() != heading) return {};
  return keyedValues(lines);
}

}  // namespace vantrel
