// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/clock_digits.h"

#include <cmath>

#include "platform/control.h"
#include "platform/translation.h"
#include "sheet/numbers.h"

namespace vantrel {

// The clocks read their digits every second, so the plain one- and two-digit texts they
// write themselves are read without the general parser. Anything else can only come from a damaged
// file: read it the general way and count it as 0 when it is not a number, so the clock
// never stops over it.
double readCount(const std::string& text) {
  if (text.size() == 1) {
    unsigned d = static_cast<unsigned char>(text[0]) - '0';
    if (d < 10) return d;
  } else if (text.size() == 2) {
    unsigned hi = static_cast<unsigned char>(text[0]) - '0';
    unsigned lo = static_cast<unsigned char>(text[1]) - '0';
    if (hi < 10 && lo < 10 && hi != 0) return hi * 10 + lo;
  }
  double value = parseNumber(text).value_or(0.0);
  return std::isfinite(value) ? value : 0.0;
}

std::string countText(double value) {
  if (value >= 0 && value < 100 && value == std::floor(value)) {
    int n = static_cast<int>(value);
    if (n < 10) return std::string(1, static_cast<char>('0' + n));
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
  }
  return numberText(value);
}

double count(const Control& box) {
  return readCount(box.text());
}

void setCount(Control& box, double value) {
  setField(box, countText(value));
}

void increment(Control& box) {
  setCount(box, count(box) + 1);
}

std::string timeWithDays(const std::string& days, const std::string& time) {
  // TRANSLATORS: %1 is the days a clock has run, %2 its time ("1 day 03:10:00").
  const char* oneDay = N_("%1 day %2");
  // TRANSLATORS: %1 is the days a clock has run, %2 its time ("2 days 03:10:00").
  const char* manyDays = N_("%1 days %2");
  const bool one = days == "1";
  return fill(tr(one ? oneDay : manyDays), {days, time});
}

}  // namespace vantrel
