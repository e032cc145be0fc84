// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/translation.h"

namespace vantrel {
namespace {

// A number as decimal digits: value = 0.d1d2d3... x 10^point, with no leading or trailing
// zeros in the digits (none at all for zero).
struct Decimal {
  bool negative = false;
  std::string digits;
  int point = 0;
};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads the grammar of parseNumber into exact decimal digits.
std::optional<Decimal> scan(std::string_view text) {
  std::size_t i = 0, n = text.size();
  while (i < n && isBlank(text[i])) ++i;
  while (n > i && isBlank(text[n - 1])) --n;
  Decimal d;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    d.negative = text[i] == '-';
    ++i;
  }
  std::string all;  // every mantissa digit in order
  int before = 0;   // how many of them stand before the point
  bool anyDigit = false;
  // "," only separates groups of three in the whole part: "1,250" reads, "12,50" does not,
  // so a decimal comma is never taken for a thousands separator.
  int group = 0;  // digits since the last separator
  bool grouped = false;
  while (i < n && (isDigit(text[i]) || text[i] == ',')) {
    if (text[i] == ',') {
      if (group == 0 || group > 3 || (grouped && group != 3)) return std::nullopt;
      grouped = true;
      group = 0;
    } else {
      all += text[i];
      ++before;
      ++group;
      anyDigit = true;
    }
    ++i;
  }
  if (grouped && group != 3) return std::nullopt;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && isDigit(text[i])) {
      all += text[i++];
      anyDigit = true;
    }
  }
  if (!anyDigit) return std::nullopt;
  long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i >= n || !isDigit(text[i])) return std::nullopt;
    while (i < n && isDigit(text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (negativeExponent) exponent = -exponent;
  }
  if (i != n) return std::nullopt;
  std::size_t lead = all.find_first_not_of('0');
  if (lead == std::string::npos) return Decimal{};  // zero, whatever its sign
  d.point = before - static_cast<int>(lead) + static_cast<int>(exponent);
  d.digits = all.substr(lead);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// The 15-significant-digit decimal form of a double.
Decimal fromDouble(double value) {
  Decimal d;
  if (value == 0 || !std::isfinite(value)) return d;
  // to_chars, unlike printf, never writes the locale's decimal comma.
  char buf[40];
  char* end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14).ptr;
  const char* p = buf;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; *p != 'e'; ++p) {
    if (isDigit(*p)) d.digits += *p;
  }
  ++p;  // the exponent: "e+05", "e-120"
  int exponent = 0;
  std::from_chars(p + (*p == '+' ? 1 : 0), end, exponent);
  d.point = exponent + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Rounds half away from zero to `decimals` places.
Decimal roundTo(Decimal d, int decimals) {
  int keep = d.point + decimals;
  if (static_cast<int>(d.digits.size()) <= keep) return d;
  if (keep < 0) return Decimal{};
  bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    int k = keep - 1;
    while (k >= 0 && d.digits[k] == '9') d.digits[k--] = '0';
    if (k >= 0) {
      ++d.digits[k];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) return Decimal{};
  return d;
}

// Fixed notation with exactly `decimals` places, grouped by thousands when asked.
std::string fixed(const Decimal& d, int decimals, bool group) {
  std::string whole, fraction;
  for (int k = 0; k < d.point; ++k) {
    whole += k < static_cast<int>(d.digits.size()) ? d.digits[k] : '0';
  }
  if (whole.empty()) whole.push_back('0');
  for (int k = 0; k < decimals; ++k) {
    int at = d.point + k;
    fraction += (at >= 0 && at < static_cast<int>(d.digits.size())) ? d.digits[at] : '0';
  }
  if (group) {
    std::string grouped;
    int count = 0;
    for (auto it = whole.rbegin(); it != whole.rend(); ++it) {
      if (count > 0 && count % 3 == 0) grouped.insert(grouped.begin(), ',');
      grouped.insert(grouped.begin(), *it);
      ++count;
    }
    whole = grouped;
  }
  std::string out = (d.negative && !d.digits.empty()) ? "-" : "";
  out += whole;
  if (decimals > 0) {
    out += '.';
    out += fraction;
  }
  return out;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
  auto d = scan(text);
  if (!d) return std::nullopt;
  if (d->digits.empty()) return 0.0;
  const std::string normal =
      (d->negative ? "-0." : "0.") + d->digits + "e" + std::to_string(d->point);
  // from_chars reads "." whatever the locale says, as strtod does not.
  double value = 0;
  const std::errc error = std::from_chars(normal.data(), normal.data() + normal.size(), value).ec;
  if (error == std::errc::result_out_of_range && d->point < 0) return d->negative ? -0.0 : 0.0;
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string numberText(double value) {
  Decimal d = fromDouble(value);
  if (d.digits.empty()) return "0";
  int n = static_cast<int>(d.digits.size());
  // Fixed form when it needs at most 15 digits, else the exponent form.
  bool exponentForm = d.point > 15 || (d.point <= 0 && n - d.point > 15);
  std::string out = d.negative ? "-" : "";
  if (!exponentForm) {
    if (d.point <= 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-d.point), '0');
      out += d.digits;
    } else if (d.point >= n) {
      out += d.digits;
      out.append(static_cast<std::size_t>(d.point - n), '0');
    } else {
      out.append(d.digits, 0, d.point);
      out += '.';
      out.append(d.digits, d.point);
    }
    return out;
  }
  out += d.digits.substr(0, 1);
  if (n > 1) {
    out += '.';
    out.append(d.digits, 1);
  }
  int e = d.point - 1;
  out += e < 0 ? "E-" : "E+";
  if (std::abs(e) < 10) out += '0';
  return out + std::to_string(std::abs(e));
}

std::optional<std::string> commaMistake(std::string_view text) {
  auto fixed = commaCorrected(text);
  if (!fixed) return std::nullopt;
  // TRANSLATORS: %1 is what the user typed ("12,50"), %2 how to write it ("12.50").
  return fill(tr("%1 is not a number here: write %2"), {text, *fixed});
}

std::optional<std::string> commaCorrected(std::string_view text) {
  if (text.find(',') == std::string_view::npos || parseNumber(text)) return std::nullopt;
  // The last comma was meant as the point, any others (and a German "." before them) as
  // separators: "12,50" is 12.50, "1.234,50" is 1234.50.
  const std::size_t last = text.rfind(',');
  std::string fixed;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (k == last) {
      fixed += '.';
    } else if (k < last && (text[k] == ',' || text[k] == '.')) {
      continue;
    } else {
      fixed += text[k];
    }
  }
  const std::size_t start = fixed.find_first_not_of(" \t+-");
  if (start != std::string::npos && fixed[start] == '.') fixed.insert(start, "0");
  // TRANSLATORS: said instead of a corrected figure, as in "12,5,0 is not a number here:
  // write digits with a point, as in 12.50".
  if (!parseNumber(fixed)) fixed = tr("digits with a point, as in 12.50");
  return fixed;
}

std::string formatNumber(std::string_view text, std::string_view picture) {
  auto value = parseNumber(text);
  if (!value) return std::string(text);
  int decimals = 2;
  bool group = false;
  if (picture == "0.0000") {
    decimals = 4;
  } else if (picture == "###,###,###,##0.00") {
    group = true;
  }
  return fixed(roundTo(fromDouble(*value), decimals), decimals, group);
}

std::optional<std::int64_t> parseCents(std::string_view text) {
  auto d = scan(text);
  if (!d) return std::nullopt;
  Decimal r = roundTo(*d, 2);
  if (r.point > 16) return std::nullopt;  // past what 64 bits of cents hold safely
  std::int64_t cents = 0;
  for (int k = 0; k < r.point + 2; ++k) {
    int digit = k < static_cast<int>(r.digits.size()) ? r.digits[k] - '0' : 0;
    cents = cents * 10 + digit;
  }
  return r.negative ? -cents : cents;
}

std::string centsText(std::int64_t cents) {
  bool negative = cents < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / 100);
  unsigned fraction = static_cast<unsigned>(magnitude % 100);
  if (fraction != 0) {
    out += '.';
    out += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
  }
  return out;
}

std::optional<std::string> sumOfAmounts(const std::vector<std::string_view>& amounts) {
  std::int64_t sum = 0;
  bool exact = true;
  for (std::string_view text : amounts) {
    auto cents = parseCents(text);
    if (!cents) return std::nullopt;
    if (__builtin_add_overflow(sum, *cents, &sum)) exact = false;
  }
  if (exact) return centsText(sum);
  double total = 0;
  for (std::string_view text : amounts) total += parseNumber(text).value_or(0);
  return numberText(total);
}

}  // namespace vantrel
