// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/text_file.h"

namespace vantrel {

class Vantrel;

// The price list file: 39 lines, in this order: the seven rates, the launch program, the
// seven labels, the six company details, the four option flags, then the Preferences
// (minimum hours, autosave file, the three start rules as True/False, minimum amount, the
// four skins, the remembered start rule and its three boxes). Where any invoice detail is
// set (the company's tax and bank details, the invoice defaults), "[Invoice]" and one
// "Key=value" line each follow.
constexpr int kPriceListLines = 39;

std::vector<std::string> priceListLines(Vantrel& app);

// Reads a price list as if each value were typed in, in file order: a missing file, a
// missing line or a value that does not convert leaves its field as it was. The options'
// price list path becomes `path` in every case.
void loadPriceList(Vantrel& app, const std::string& path);

// Writes the 39 lines to `path`, replacing the file as a whole or leaving it untouched.
WriteResult savePriceList(Vantrel& app, const std::string& path);

// A check box's value as a file holds it: 0, 1 or 2; nothing for anything else.
std::optional<int> checkValue(const std::string& text);
// An option as a file holds it: True or False, or a number (not zero is true).
std::optional<bool> optionValue(const std::string& text);

}  // namespace vantrel
