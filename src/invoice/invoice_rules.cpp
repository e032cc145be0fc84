// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/invoice_rules.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/translation.h"

namespace vantrel {
namespace {

// Character classes of our own: the C ones follow the locale, and a byte of a UTF-8
// sequence may count as a letter in some.
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool isAlnum(char c) {
  return isDigit(c) || isUpper(c);
}
char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Identifiers pasted from a PDF or a web page often carry no-break or narrow spaces.
std::size_t blankAt(std::string_view text, std::size_t i) {
  const char c = text[i];
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return 1;
  if (text.substr(i, 2) == "\xC2\xA0") return 2;      // no-break space
  if (text.substr(i, 3) == "\xE2\x80\xAF") return 3;  // narrow no-break space
  if (text.substr(i, 3) == "\xE2\x80\x89") return 3;  // thin space
  return 0;
}

std::string compacted(std::string_view text, std::string_view alsoDropped) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t blank = blankAt(text, i); blank > 0) {
      i += blank;
      continue;
    }
    if (alsoDropped.find(text[i]) == std::string_view::npos) out += upper(text[i]);
    ++i;
  }
  return out;
}

struct Country {
  const char* code;
  int ibanLength;       // 0: the code is not an IBAN country
  const char* aPhrase;  // "a German", as in "a German IBAN"
};

// The countries of the IBAN registry (ISO 13616) with their IBAN lengths, and the two VAT
// prefixes that are no country codes. Territories that use another country's IBANs (the
// French overseas departments, the Channel Islands, Åland) are not listed apart.
constexpr Country kCountries[] = {
    {"AD", 24, "an Andorran"},
    {"AE", 23, "an Emirati"},
    {"AL", 28, "an Albanian"},
    {"AT", 20, "an Austrian"},
    {"AZ", 28, "an Azerbaijani"},
    {"BA", 20, "a Bosnian"},
    {"BE", 16, "a Belgian"},
    {"BG", 22, "a Bulgarian"},
    {"BH", 22, "a Bahraini"},
    {"BI", 27, "a Burundian"},
    {"BR", 29, "a Brazilian"},
    {"BY", 28, "a Belarusian"},
    {"CH", 21, "a Swiss"},
    {"CR", 22, "a Costa Rican"},
    {"CY", 28, "a Cypriot"},
    {"CZ", 24, "a Czech"},
    {"DE", 22, "a German"},
    {"DJ", 27, "a Djiboutian"},
    {"DK", 18, "a Danish"},
    {"DO", 28, "a Dominican"},
    {"EE", 20, "an Estonian"},
    {"EG", 29, "an Egyptian"},
    {"EL", 0, "a Greek"},
    {"ES", 24, "a Spanish"},
    {"FI", 18, "a Finnish"},
    {"FK", 18, "a Falkland Islands"},
    {"FO", 18, "a Faroese"},
    {"FR", 27, "a French"},
    {"GB", 22, "a British"},
    {"GE", 22, "a Georgian"},
    {"GI", 23, "a Gibraltar"},
    {"GL", 18, "a Greenlandic"},
    {"GR", 27, "a Greek"},
    {"GT", 28, "a Guatemalan"},
    {"HR", 21, "a Croatian"},
    {"HU", 28, "a Hungarian"},
    {"IE", 22, "an Irish"},
    {"IL", 23, "an Israeli"},
    {"IQ", 23, "an Iraqi"},
    {"IS", 26, "an Icelandic"},
    {"IT", 27, "an Italian"},
    {"JO", 30, "a Jordanian"},
    {"KW", 30, "a Kuwaiti"},
    {"KZ", 20, "a Kazakh"},
    {"LB", 28, "a Lebanese"},
    {"LC", 32, "a Saint Lucian"},
    {"LI", 21, "a Liechtenstein"},
    {"LT", 20, "a Lithuanian"},
    {"LU", 20, "a Luxembourg"},
    {"LV", 21, "a Latvian"},
    {"LY", 25, "a Libyan"},
    {"MC", 27, "a Monegasque"},
    {"MD", 24, "a Moldovan"},
    {"ME", 22, "a Montenegrin"},
    {"MK", 19, "a North Macedonian"},
    {"MN", 20, "a Mongolian"},
    {"MR", 27, "a Mauritanian"},
    {"MT", 31, "a Maltese"},
    {"MU", 30, "a Mauritian"},
    {"NI", 28, "a Nicaraguan"},
    {"NL", 18, "a Dutch"},
    {"NO", 15, "a Norwegian"},
    {"OM", 23, "an Omani"},
    {"PK", 24, "a Pakistani"},
    {"PL", 28, "a Polish"},
    {"PS", 29, "a Palestinian"},
    {"PT", 25, "a Portuguese"},
    {"QA", 29, "a Qatari"},
    {"RO", 24, "a Romanian"},
    {"RS", 22, "a Serbian"},
    {"RU", 33, "a Russian"},
    {"SA", 24, "a Saudi"},
    {"SC", 31, "a Seychellois"},
    {"SD", 18, "a Sudanese"},
    {"SE", 24, "a Swedish"},
    {"SI", 19, "a Slovenian"},
    {"SK", 24, "a Slovak"},
    {"SM", 27, "a San Marino"},
    {"SO", 23, "a Somali"},
    {"ST", 25, "a Sao Tome and Principe"},
    {"SV", 28, "a Salvadoran"},
    {"TL", 23, "a Timor-Leste"},
    {"TN", 24, "a Tunisian"},
    {"TR", 26, "a Turkish"},
    {"UA", 29, "a Ukrainian"},
    {"VA", 22, "a Vatican"},
    {"VG", 24, "a British Virgin Islands"},
    {"XI", 0, "a Northern Ireland"},
    {"XK", 20, "a Kosovo"},
};

const Country* countryOf(std::string_view text) {
  if (text.size() < 2) return nullptr;
  for (const Country& c : kCountries) {
    if (text.substr(0, 2) == c.code) return &c;
  }
  return nullptr;
}

std::string tooShortOrLong(const std::string& shown, const Country& c, std::size_t length) {
  const std::string has = std::to_string(length);
  const std::string needs = std::to_string(c.ibanLength);
  if (static_cast<int>(length) < c.ibanLength) {
    // TRANSLATORS: %1 is the IBAN; %2 is "a German", "an Austrian" ... (always English); %3 is
    // the country's code (DE, AT ...), which a translation uses instead of %2 ("an IBAN from
    // %3"); %4 is how many characters it has, %5 how many that country's IBANs have.
    return fill(tr("%1 is too short for %2 IBAN: it has %4 characters, and %2 IBAN has %5."),
                {shown, c.aPhrase, c.code, has, needs});
  }
  // TRANSLATORS: %1 is the IBAN; %2 is "a German", "an Austrian" ... (always English); %3 is
  // the country's code (DE, AT ...), which a translation uses instead of %2 ("an IBAN from
  // %3"); %4 is how many characters it has, %5 how many that country's IBANs have.
  return fill(tr("%1 is too long for %2 IBAN: it has %4 characters, and %2 IBAN has %5."),
              {shown, c.aPhrase, c.code, has, needs});
}

// ISO 7064 MOD 97-10 over the IBAN with its first four characters moved to the end, letters
// counting 10 to 35.
int ibanRemainder(const std::string& iban) {
  const std::string moved = iban.substr(4) + iban.substr(0, 4);
  int remainder = 0;
  for (char c : moved) {
    const int value = isDigit(c) ? c - '0' : c - 'A' + 10;
    remainder = (remainder * (value < 10 ? 10 : 100) + value) % 97;
  }
  return remainder;
}

// A VAT ID's shape after the prefix: d a digit, a a letter, x a letter or digit, p a letter,
// '+' or '*'; anything else stands for itself. Alternatives are separated by '|'.
struct VatShape {
  const char* prefix;
  const char* shapes;
  const char* described;  // shown through tr()
};

constexpr const char* kGbShapes = "ddddddddd|dddddddddddd|GDddd|HAddd";

constexpr VatShape kVatShapes[] = {
    {"AT", "Udddddddd", N_("ATU and 8 digits")},
    {"BE", "0ddddddddd|1ddddddddd", N_("BE and 10 digits, the first 0 or 1")},
    {"BG", "ddddddddd|dddddddddd", N_("BG and 9 or 10 digits")},
    {"CH", "Eddddddddd|EdddddddddMWST|EdddddddddTVA|EdddddddddIVA",
     N_("CHE and 9 digits, perhaps followed by MWST, TVA or IVA")},
    {"CY", "dddddddda", N_("CY, 8 digits and a letter")},
    {"CZ", "dddddddd|ddddddddd|dddddddddd", N_("CZ and 8, 9 or 10 digits")},
    {"DE", "ddddddddd", N_("DE and 9 digits")},
    {"DK", "dddddddd", N_("DK and 8 digits")},
    {"EE", "ddddddddd", N_("EE and 9 digits")},
    {"EL", "ddddddddd", N_("EL and 9 digits")},
    {"ES", "addddddda|dddddddda|adddddddd",
     N_("ES and 9 characters: a letter or digit, 7 digits and a letter or digit, not both digits")},
    {"FI", "dddddddd", N_("FI and 8 digits")},
    {"FR", "xxddddddddd", N_("FR, 2 letters or digits and 9 digits")},
    {"GB", kGbShapes, N_("GB and 9 or 12 digits, or GBGD or GBHA and 3 digits")},
    // Greece writes EL on VAT IDs, though its country code is GR.
    {"GR", "", N_("EL and 9 digits")},
    {"HR", "ddddddddddd", N_("HR and 11 digits")},
    {"HU", "dddddddd", N_("HU and 8 digits")},
    {"IE", "ddddddda|dddddddaa|dpddddda", N_("IE, 7 digits and 1 or 2 letters")},
    {"IT", "ddddddddddd", N_("IT and 11 digits")},
    {"LT", "ddddddddd|dddddddddddd", N_("LT and 9 or 12 digits")},
    {"LU", "dddddddd", N_("LU and 8 digits")},
    {"LV", "ddddddddddd", N_("LV and 11 digits")},
    {"MT", "dddddddd", N_("MT and 8 digits")},
    {"NL", "dddddddddBdd", N_("NL, 9 digits, B and 2 digits")},
    {"NO", "dddddddddMVA", N_("NO, 9 digits and MVA")},
    {"PL", "dddddddddd", N_("PL and 10 digits")},
    {"PT", "ddddddddd", N_("PT and 9 digits")},
    {"RO", "dd|ddd|dddd|ddddd|dddddd|ddddddd|dddddddd|ddddddddd|dddddddddd",
     N_("RO and 2 to 10 digits")},
    {"SE", "dddddddddd01", N_("SE, 10 digits and 01")},
    {"SI", "dddddddd", N_("SI and 8 digits")},
    {"SK", "dddddddddd", N_("SK and 10 digits")},
    {"XI", kGbShapes, N_("XI and 9 or 12 digits, or XIGD or XIHA and 3 digits")},
};

bool fitsShape(std::string_view text, std::string_view shape) {
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const char c = text[i];
    bool fits = false;
    switch (shape[i]) {
      case 'd':
        fits = isDigit(c);
        break;
      case 'a':
        fits = isUpper(c);
        break;
      case 'x':
        fits = isAlnum(c);
        break;
      case 'p':
        fits = isUpper(c) || c == '+' || c == '*';
        break;
      default:
        fits = c == shape[i];
    }
    if (!fits) return false;
  }
  return true;
}

bool fitsAnyShape(std::string_view text, std::string_view shapes) {
  while (!shapes.empty()) {
    const std::size_t bar = shapes.find('|');
    if (fitsShape(text, shapes.substr(0, bar))) return true;
    if (bar == std::string_view::npos) break;
    shapes.remove_prefix(bar + 1);
  }
  return false;
}

std::string padded(int value, std::size_t width) {
  std::string digits = std::to_string(std::max(value, 0));
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The counter is written with no more digits than an int counts without overflow.
constexpr std::size_t kMostCounterDigits = 9;

struct PatternPiece {
  enum Kind { Text, Year, ShortYear, Month, Counter } kind = Text;
  std::string text;       // for Text
  std::size_t width = 0;  // for Counter
};

struct ParsedPattern {
  std::vector<PatternPiece> pieces;
  int counters = 0;
  bool openQuote = false;
};

ParsedPattern parsePattern(std::string_view pattern) {
  ParsedPattern parsed;
  auto addText = [&parsed](char c) {
    if (parsed.pieces.empty() || parsed.pieces.back().kind != PatternPiece::Text) {
      parsed.pieces.push_back({});
    }
    parsed.pieces.back().text += c;
  };
  auto runAt = [&pattern](std::size_t i) {
    std::size_t end = i;
    while (end < pattern.size() && pattern[end] == pattern[i]) ++end;
    return end - i;
  };
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '"') {
      const std::size_t close = pattern.find('"', i + 1);
      if (close == std::string_view::npos) {
        parsed.openQuote = true;
        break;
      }
      for (std::size_t k = i + 1; k < close; ++k) addText(pattern[k]);
      i = close + 1;
    } else if (c == 'N') {
      const std::size_t run = runAt(i);
      parsed.pieces.push_back({PatternPiece::Counter, {}, run});
      ++parsed.counters;
      i += run;
    } else if (pattern.substr(i, 4) == "YYYY") {
      parsed.pieces.push_back({PatternPiece::Year, {}, 0});
      i += 4;
    } else if (pattern.substr(i, 2) == "YY") {
      parsed.pieces.push_back({PatternPiece::ShortYear, {}, 0});
      i += 2;
    } else if (pattern.substr(i, 2) == "MM") {
      parsed.pieces.push_back({PatternPiece::Month, {}, 0});
      i += 2;
    } else {
      addText(c);
      ++i;
    }
  }
  return parsed;
}

std::string expanded(const std::vector<PatternPiece>& pieces, std::size_t from, std::size_t to,
                     int year, int month, int counter) {
  std::string out;
  for (std::size_t i = from; i < to; ++i) {
    const PatternPiece& piece = pieces[i];
    switch (piece.kind) {
      case PatternPiece::Text:
        out += piece.text;
        break;
      case PatternPiece::Year:
        out += padded(year, 4);
        break;
      case PatternPiece::ShortYear:
        out += padded((year % 100 + 100) % 100, 2);
        break;
      case PatternPiece::Month:
        out += padded(month, 2);
        break;
      case PatternPiece::Counter:
        out += padded(counter, piece.width);
        break;
    }
  }
  return out;
}

}  // namespace

std::string compactIban(std::string_view text) {
  return compacted(text, "");
}

std::string compactVatId(std::string_view text) {
  return compacted(text, ".-");
}

std::string ibanGrouped(std::string_view iban) {
  const std::string compact = compactIban(iban);
  std::string out;
  for (std::size_t i = 0; i < compact.size(); ++i) {
    if (i > 0 && i % 4 == 0) out += ' ';
    out += compact[i];
  }
  return out;
}

std::string ibanProblem(std::string_view iban) {
  const std::string compact = compactIban(iban);
  if (compact.empty()) return {};
  if (!std::all_of(compact.begin(), compact.end(), isAlnum)) {
    return fill(tr("%1 holds characters that no IBAN has: only letters and digits."), {compact});
  }
  const std::string shown = ibanGrouped(compact);
  const Country* country = countryOf(compact);
  if (country == nullptr || country->ibanLength == 0) {
    return fill(tr("%1 is not an IBAN: it does not start with a country's code."), {shown});
  }
  if (compact.size() != static_cast<std::size_t>(country->ibanLength)) {
    return tooShortOrLong(shown, *country, compact.size());
  }
  // The standard's check digits run from 02 to 98: 00, 01 and 99 would pass the remainder
  // test for numbers that are written with 97, 98 and 02.
  const std::string_view check = std::string_view(compact).substr(2, 2);
  const bool checkInRange =
      isDigit(check[0]) && isDigit(check[1]) && check >= "02" && check <= "98";
  if (!checkInRange || ibanRemainder(compact) != 1) {
    return fill(tr("The check digits of %1 do not match: a character is probably mistyped."),
                {shown});
  }
  return {};
}

std::string bicProblem(std::string_view bic) {
  const std::string compact = compactIban(bic);
  if (compact.empty()) return {};
  if (compact.size() != 8 && compact.size() != 11) {
    return fill(tr("%1 is not a BIC: a BIC has 8 or 11 characters, and this has %2."),
                {compact, std::to_string(compact.size())});
  }
  if (!fitsShape(compact, compact.size() == 8 ? "aaaaaaxx" : "aaaaaaxxxxx")) {
    return fill(tr("%1 is not a BIC: a BIC is 4 letters for the bank, 2 for the country, then 2 "
                   "letters or digits for the place and perhaps 3 for the branch."),
                {compact});
  }
  return {};
}

std::string vatIdProblem(std::string_view vatId) {
  const std::string compact = compactVatId(vatId);
  if (compact.empty()) return {};
  for (const VatShape& shape : kVatShapes) {
    if (compact.compare(0, 2, shape.prefix) != 0) continue;
    if (fitsAnyShape(std::string_view(compact).substr(2), shape.shapes)) return {};
    // TRANSLATORS: %1 is the VAT ID; %2 is "a German", "an Austrian" ... (always English);
    // %3 is the country's code (DE, AT ...), which a translation uses instead of %2 ("a VAT
    // ID from %3"); %4 says the shape, as "DE and 9 digits".
    return fill(tr("%1 does not have the shape of %2 VAT ID: %4."),
                {compact, countryOf(shape.prefix)->aPhrase, shape.prefix, tr(shape.described)});
  }
  if (compact.size() >= 2 && isUpper(compact[0]) && isUpper(compact[1])) {
    return fill(tr("%1 does not start with a code Vantrel knows for VAT IDs (such as DE, FR or "
                   "GB)."),
                {compact});
  }
  return fill(tr("%1 does not start with a country's code (such as DE, FR or GB)."), {compact});
}

std::optional<std::int64_t> rateThousandths(std::string_view text) {
  std::string compact;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t blank = blankAt(text, i); blank > 0) {
      i += blank;
    } else {
      compact += text[i++];
    }
  }
  if (!compact.empty() && compact.back() == '%') compact.pop_back();
  const std::size_t point = compact.find_first_of(".,");
  std::string whole = compact.substr(0, point);
  std::string decimals = point == std::string::npos ? "" : compact.substr(point + 1);
  // Zeros past the third decimal say nothing more ("7.2500").
  while (decimals.size() > 3 && decimals.back() == '0') decimals.pop_back();
  const auto digitsOnly = [](const std::string& s) {
    return std::all_of(s.begin(), s.end(), isDigit);
  };
  if (!digitsOnly(whole) || !digitsOnly(decimals) || decimals.size() > 3) return std::nullopt;
  if (whole.empty() && decimals.empty()) return std::nullopt;
  if (point != std::string::npos && decimals.empty()) return std::nullopt;  // "5."
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.size() > 3) return std::nullopt;
  std::int64_t value = 0;
  for (char c : whole) value = value * 10 + (c - '0');
  decimals.resize(3, '0');
  for (char c : decimals) value = value * 10 + (c - '0');
  if (value > 100'000) return std::nullopt;
  return value;
}

std::string rateText(std::int64_t thousandths) {
  const bool negative = thousandths < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(thousandths)
                                           : static_cast<std::uint64_t>(thousandths);
  std::string out = (negative ? "-" : "") + std::to_string(magnitude / 1000);
  std::string decimals = std::to_string(1000 + magnitude % 1000).substr(1);
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  if (!decimals.empty()) out += "." + decimals;
  return out;
}

std::int64_t taxCents(std::int64_t netCents, std::int64_t rateThousandths) {
  // net * rate / 100,000 in two steps, so that no product overflows: the whole hundred
  // thousands of the net times the rate, and the rest's share rounded half up.
  constexpr std::uint64_t kScale = 100'000;
  const bool negative = (netCents < 0) != (rateThousandths < 0);
  auto magnitude = [](std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  };
  const std::uint64_t net = magnitude(netCents);
  const std::uint64_t rate = magnitude(rateThousandths);
  const std::uint64_t tax = (net / kScale) * rate + ((net % kScale) * rate + kScale / 2) / kScale;
  return negative ? -static_cast<std::int64_t>(tax) : static_cast<std::int64_t>(tax);
}

std::string moneyText(std::int64_t cents) {
  const bool negative = cents < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
  char text[40];
  std::snprintf(text, sizeof text, "%s%llu.%02llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 100),
                static_cast<unsigned long long>(magnitude % 100));
  return text;
}

std::string patternProblem(std::string_view pattern) {
  const ParsedPattern parsed = parsePattern(pattern);
  if (parsed.openQuote) {
    return tr(
        "The number pattern opens a quote it does not close: text in quotes, as in "
        "\"INV\"-YYYY-NNN, is written as it stands.");
  }
  if (parsed.counters == 0) {
    return tr("The number pattern needs a run of N for the counter, as in YYYY-NNN.");
  }
  if (parsed.counters > 1) {
    return tr(
        "The number pattern has more than one run of N: put letters meant as text in "
        "quotes, as in \"INV\"-YYYY-NNN.");
  }
  for (const PatternPiece& piece : parsed.pieces) {
    if (piece.kind == PatternPiece::Counter && piece.width > kMostCounterDigits) {
      return fill(tr("The number pattern's counter has more than %1 digits."),
                  {std::to_string(kMostCounterDigits)});
    }
  }
  return {};
}

std::string patternNumber(std::string_view pattern, int year, int month, int counter) {
  const ParsedPattern parsed = parsePattern(pattern);
  return expanded(parsed.pieces, 0, parsed.pieces.size(), year, month, counter);
}

std::optional<int> patternCounter(std::string_view pattern, std::string_view number, int year,
                                  int month) {
  if (!patternProblem(pattern).empty()) return std::nullopt;
  const ParsedPattern parsed = parsePattern(pattern);
  const auto counter =
      std::find_if(parsed.pieces.begin(), parsed.pieces.end(),
                   [](const PatternPiece& p) { return p.kind == PatternPiece::Counter; });
  const auto at = static_cast<std::size_t>(counter - parsed.pieces.begin());
  const std::string before = expanded(parsed.pieces, 0, at, year, month, 0);
  const std::string after = expanded(parsed.pieces, at + 1, parsed.pieces.size(), year, month, 0);
  if (number.size() < before.size() + after.size() + counter->width ||
      number.substr(0, before.size()) != before ||
      number.substr(number.size() - after.size()) != after) {
    return std::nullopt;
  }
  const std::string_view digits =
      number.substr(before.size(), number.size() - before.size() - after.size());
  if (digits.size() > kMostCounterDigits || !std::all_of(digits.begin(), digits.end(), isDigit)) {
    return std::nullopt;
  }
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  // "0012" is no number of NNN: the pattern writes 012.
  if (padded(value, counter->width) != digits) return std::nullopt;
  return value;
}

std::string nextInvoiceNumber(std::string_view pattern, int year, int month,
                              const std::vector<std::string>& taken) {
  int highest = 0;
  for (const std::string& number : taken) {
    if (auto counter = patternCounter(pattern, number, year, month)) {
      highest = std::max(highest, *counter);
    }
  }
  return patternNumber(pattern, year, month, highest + 1);
}

std::optional<std::string> isoDatePlusDays(std::string_view isoDate, int days) {
  if (!fitsShape(isoDate, "dddd-dd-dd")) return std::nullopt;
  auto number = [&isoDate](std::size_t from, std::size_t count) {
    int value = 0;
    for (char c : isoDate.substr(from, count)) value = value * 10 + (c - '0');
    return value;
  };
  using namespace std::chrono;
  const year_month_day date{year{number(0, 4)}, month{static_cast<unsigned>(number(5, 2))},
                            day{static_cast<unsigned>(number(8, 2))}};
  // Ten thousand years either way is past any date the program writes.
  if (!date.ok() || days > 3'660'000 || days < -3'660'000) return std::nullopt;
  const year_month_day later{sys_days{date} + std::chrono::days{days}};
  const int y = static_cast<int>(later.year());
  if (y < 1 || y > 9999) return std::nullopt;
  return padded(y, 4) + "-" + padded(static_cast<int>(static_cast<unsigned>(later.month())), 2) +
         "-" + padded(static_cast<int>(static_cast<unsigned>(later.day())), 2);
}

}  // namespace vantrel
