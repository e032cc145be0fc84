// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/document_language.h"

#include <cstdio>

#include "platform/services.h"

namespace vantrel {

std::string documentFigure(std::string_view figure, Language language) {
  if (language == Language::English) return std::string(figure);
  std::string_view rest = figure;
  const bool negative = rest.starts_with('-');
  if (negative) rest.remove_prefix(1);
  const std::size_t point = rest.find('.');
  std::string whole;
  for (char c : rest.substr(0, point)) {
    if (c == ',') continue;
    if (c < '0' || c > '9') return std::string(figure);
    whole += c;
  }
  const std::string_view decimals =
      point == std::string_view::npos ? std::string_view() : rest.substr(point + 1);
  if (decimals.find_first_not_of("0123456789") != std::string_view::npos ||
      (whole.empty() && decimals.empty())) {
    return std::string(figure);
  }
  const std::string group = language == Language::German ? "." : "\u00A0";
  std::string out = negative ? "-" : "";
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) out += group;
    out += whole[i];
  }
  if (point != std::string_view::npos) out += "," + std::string(decimals);
  return out;
}

bool currencyAfter(Language language) {
  return language != Language::English;
}

std::string documentDate(const Clock& clock, std::string_view iso, Language language) {
  int y = 0, m = 0, d = 0;
  char end = 0;
  const std::string text(iso);
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &end) != 3) return text;
  if (language == Language::English) return clock.dateText(y, m, d);
  char shown[16];
  std::snprintf(shown, sizeof shown,
                language == Language::German ? "%02d.%02d.%04d" : "%02d/%02d/%04d", d, m, y);
  return shown;
}

}  // namespace vantrel
