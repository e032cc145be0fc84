// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/translation.h"

namespace vantrel {

class Clock;

// A figure as a document in `language` writes it. The program holds figures with a decimal
// point ("1,234.56", "12.50"); English documents print them so, German ones as "1.234,56" and
// French ones as "1 234,56" (a no-break space between thousands). Other text is left as it is.
std::string documentFigure(std::string_view figure, Language language);

// German and French put the currency after the amount ("246,58 €"), English before it.
bool currencyAfter(Language language);

// A YYYY-MM-DD day as a document in `language` writes it: English documents in the desktop's
// date format, German ones as 10.12.2026, French ones as 10/12/2026. Other text as it is.
std::string documentDate(const Clock& clock, std::string_view iso, Language language);

}  // namespace vantrel
