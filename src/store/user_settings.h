// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"

namespace vantrel {

// What the program keeps per user in the desktop's settings store rather than in any file
// it writes, so the price list and project files keep exactly their lines.
constexpr const char* kSettingsApp = "Ploven";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kAgreementKey = "SLA";
constexpr const char* kCurrencyKey = "Currency";
constexpr const char* kAwayAskKey = "AwayAsk";
constexpr const char* kAwayMinutesKey = "AwayMinutes";

// The sign the invoice prints before its total: "$" until the user chooses another.
// The sign a new user starts with is their locale's: € in the euro countries, £ in the UK,
// else $.
std::string localCurrencySign();
std::string currencySign(SettingsStore& settings);
void setCurrencySign(SettingsStore& settings, const std::string& sign);
// Why a sign may not be used (it would not fit before the total), or empty.
std::string currencyRefusal(const std::string& sign);

// Whether the running clock asks about time away, and after how many minutes without input
// (1 to 240): by default it asks after 10.
bool awayAsked(SettingsStore& settings);
void setAwayAsked(SettingsStore& settings, bool ask);
int awayMinutes(SettingsStore& settings);
void setAwayMinutes(SettingsStore& settings, int minutes);
// Why a text is no away limit, or empty.
std::string awayMinutesRefusal(std::string_view text);

}  // namespace vantrel
