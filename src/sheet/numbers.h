// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/translation.h"

namespace vantrel {

// Text to number: optional blanks around, an optional sign, digits with an optional point,
// "," thousands separators and an exponent part. Anything else, the empty text included,
// fails.
std::optional<double> parseNumber(std::string_view text);

// The keys a box of numbers takes as typed: digits, the point and backspace.
constexpr bool isNumberKey(char key) {
  return key == '\b' || (key >= '0' && key <= '9') || key == '.';
}

// A decimal comma where a number is wanted ("12,50"): what to tell the user, with the form
// to write instead ("12,50 is not a number here: write 12.50"). Nothing for any other text.
std::optional<std::string> commaMistake(std::string_view text);
// The form to write instead of such a text ("12.50" for "12,50"), or a description of one
// when it would still not read; nothing for a text that reads or has no comma.
std::optional<std::string> commaCorrected(std::string_view text);

// The largest amount or total the sheet computes and shows exactly to the cent:
// 999,999,999,999.99. An input that would take one past it is refused with kTooLarge.
constexpr std::int64_t kLargestCents = 99'999'999'999'999;
constexpr const char* kTooLarge = N_("This amount is too large to compute exactly.");

// Conditions on numbers: a text that does not read counts as both zero and not zero, so the
// rule's action runs either way.
inline bool countsAsZero(std::string_view text) {
  auto v = parseNumber(text);
  return !v || *v == 0;
}
inline bool countsAsNotZero(std::string_view text) {
  auto v = parseNumber(text);
  return !v || *v != 0;
}

// Number to text: at most 15 significant digits, no separators, no trailing zeros; small
// values whose fixed form would need more digits take the exponent form (1.66666666666667E-02).
std::string numberText(double value);

// Formats a text that parses with one of the pictures "0.00", "0.0000" and
// "###,###,###,##0.00", rounding half away from zero on the 15-digit decimal form (so
// 1.005 gives 1.01, as a reader of the text expects). Any other text comes back unchanged.
std::string formatNumber(std::string_view text, std::string_view picture);

// The exact value of a number text in cents, rounded half away from zero as the text
// states it (no binary rounding on the way); nothing when it does not parse or is too large.
std::optional<std::int64_t> parseCents(std::string_view text);
std::string centsText(std::int64_t cents);  // as numberText writes it: "123456.78", "30"

// Amounts added exactly, to the cent as their texts state them, so a bill adds up to what it
// shows; past what cents can count, the rounded sum. Nothing when any one does not read.
std::optional<std::string> sumOfAmounts(const std::vector<std::string_view>& amounts);

}  // namespace vantrel
