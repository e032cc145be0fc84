// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Bank and tax identifiers as people write them: blanks left out (for VAT IDs also dots and
// dashes, which official forms put in), letters upper case.
std::string compactIban(std::string_view text);
std::string compactVatId(std::string_view text);

// What is wrong with an IBAN (ISO 13616), in a user's words, or empty when it is right or
// empty. Only letters and digits; a country of the IBAN registry and that country's length;
// the ISO 7064 mod-97 check digits.
std::string ibanProblem(std::string_view iban);
// Compact, then in groups of four as IBANs are printed: "DE89 3704 0044 0532 0130 00".
std::string ibanGrouped(std::string_view iban);

// What is wrong with a BIC (ISO 9362), or empty when it is right or empty: 8 or 11
// characters, 4 letters for the bank, 2 for the country, 2 letters or digits for the place
// and optionally 3 for the branch.
std::string bicProblem(std::string_view bic);

// What is wrong with a VAT identification number, or empty when it is right or empty. The
// prefix names the country and each country's shape is checked (EU member states with EL
// for Greece and XI for Northern Ireland, GB, CH, NO); no check digits.
std::string vatIdProblem(std::string_view vatId);

// A tax rate as typed ("19", "5.5", "7,7", "20 %") in thousandths of a percent (19 -> 19000),
// from 0 to 100 with at most 3 decimals; nothing when it does not read.
std::optional<std::int64_t> rateThousandths(std::string_view text);
// Such a rate as it is shown: "19", "5.5", "7.25", always with a point.
std::string rateText(std::int64_t thousandths);
// The tax on a net amount in cents at such a rate, rounded half up to the cent (half away
// from zero for a negative net), exact for any net the sheet computes.
std::int64_t taxCents(std::int64_t netCents, std::int64_t rateThousandths);
// Cents as a figure with two decimals and a point, no grouping: "1234.56", "-0.05".
std::string moneyText(std::int64_t cents);

// Invoice number patterns: YYYY is the year, YY its last two digits, MM the month (01-12),
// a run of N the counter with at least as many digits as there are N's. Text in double
// quotes is taken as it stands ("INV"-YYYY-NNN), as is anything else.
inline constexpr const char* kDefaultNumberPattern = "YYYY-NNN";
// Why a pattern cannot give numbers, or empty when it can.
std::string patternProblem(std::string_view pattern);
std::string patternNumber(std::string_view pattern, int year, int month, int counter);
// The counter of a number this pattern gives for that year and month, else nothing. A
// pattern with the year in it so starts its counter again each year.
std::optional<int> patternCounter(std::string_view pattern, std::string_view number, int year,
                                  int month);
// The number after the highest counter among `taken` for that year and month; the counter
// is 1 when there is none.
std::string nextInvoiceNumber(std::string_view pattern, int year, int month,
                              const std::vector<std::string>& taken);

// An ISO date "YYYY-MM-DD" some days on (payment terms); nothing when the text is no date.
std::optional<std::string> isoDatePlusDays(std::string_view isoDate, int days);

}  // namespace vantrel
