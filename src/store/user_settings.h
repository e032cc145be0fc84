// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/services.h"

namespace vantrel {

// What the program keeps per user in the desktop's settings store rather than in any file
// it writes, so the price list and project files keep exactly their lines.
constexpr const char* kSettingsApp = "Ploven";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kAgreementKey = "SLA";
constexpr const char* kCurrencyKey = "Currency";

// The sign the invoice prints before its total: "$" until the user chooses another.
std::string currencySign(SettingsStore& settings);
void setCurrencySign(SettingsStore& settings, const std::string& sign);
// Why a sign may not be used (it would not fit before the total), or empty.
std::string currencyRefusal(const std::string& sign);

}  // namespace vantrel
