// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/user_settings.h"

namespace vantrel {

std::string currencySign(SettingsStore& settings) {
  return settings.read(kSettingsApp, kSettingsSection, kCurrencyKey).value_or("$");
}

void setCurrencySign(SettingsStore& settings, const std::string& sign) {
  settings.write(kSettingsApp, kSettingsSection, kCurrencyKey, sign);
}

std::string currencyRefusal(const std::string& sign) {
  std::size_t characters = 0;
  for (unsigned char c : sign) characters += (c & 0xC0) != 0x80;
  return characters <= 3 ? std::string() : "A currency sign has at most 3 characters.";
}

}  // namespace vantrel
