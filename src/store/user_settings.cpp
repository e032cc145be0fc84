// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/user_settings.h"

#include <string_view>

#include "platform/translation.h"

namespace vantrel {

std::string localCurrencySign() {
  const std::string locale = desktopLocale("LC_MONETARY");
  const std::string_view code = locale;
  const std::size_t at = code.find('_');
  if (at == std::string_view::npos || code.size() < at + 3) return "$";
  const std::string_view country = code.substr(at + 1, 2);
  static constexpr std::string_view kEuro[] = {"AT", "BE", "CY", "DE", "EE", "ES", "FI",
                                               "FR", "GR", "HR", "IE", "IT", "LT", "LU",
                                               "LV", "MT", "NL", "PT", "SI", "SK"};
  for (std::string_view euro : kEuro) {
    if (country == euro) return "\u20AC";
  }
  return country == "GB" ? "\u00A3" : "$";
}

std::string currencySign(SettingsStore& settings) {
  return settings.read(kSettingsApp, kSettingsSection, kCurrencyKey).value_or(localCurrencySign());
}

void setCurrencySign(SettingsStore& settings, const std::string& sign) {
  settings.write(kSettingsApp, kSettingsSection, kCurrencyKey, sign);
}

std::string currencyRefusal(const std::string& sign) {
  std::size_t characters = 0;
  for (unsigned char c : sign) characters += (c & 0xC0) != 0x80;
  return characters <= 3 ? std::string() : tr("A currency sign has at most 3 characters.");
}

bool awayAsked(SettingsStore& settings) {
  return settings.read(kSettingsApp, kSettingsSection, kAwayAskKey).value_or("1") != "0";
}

void setAwayAsked(SettingsStore& settings, bool ask) {
  settings.write(kSettingsApp, kSettingsSection, kAwayAskKey, ask ? "1" : "0");
}

int awayMinutes(SettingsStore& settings) {
  const auto stored = settings.read(kSettingsApp, kSettingsSection, kAwayMinutesKey);
  // A value edited by hand out of range counts as the default.
  if (!stored || !awayMinutesRefusal(*stored).empty()) return 10;
  return std::stoi(*stored);
}

void setAwayMinutes(SettingsStore& settings, int minutes) {
  settings.write(kSettingsApp, kSettingsSection, kAwayMinutesKey, std::to_string(minutes));
}

std::string awayMinutesRefusal(std::string_view text) {
  const bool digits = !text.empty() && text.size() <= 3 &&
                      text.find_first_not_of("0123456789") == std::string_view::npos;
  const int minutes = digits ? std::stoi(std::string(text)) : 0;
  return minutes >= 1 && minutes <= 240 ? std::string()
                                        : tr("Time away is asked about after 1 to 240 minutes.");
}

}  // namespace vantrel
