// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tray_icon.h"

#include "app/main_form.h"
#include "platform/text_file.h"

namespace vantrel {
namespace {
constexpr std::uint32_t kMainWindow = 1;
constexpr std::uint32_t kRunningIcon = 101;
constexpr std::uint32_t kStoppedIcon = 102;

// The tip is single-byte text: each character without a single-byte code becomes "?".
std::string singleByte(const std::string& utf8) {
  if (auto whole = toWindows1252(utf8)) return *whole;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = 1;
    while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
    out += toWindows1252(utf8.substr(i, n)).value_or("?");
    i += n;
  }
  return out;
}
}  // namespace

TrayIcon::TrayIcon(MainForm& main) : main_(main) {
  record_.window = kMainWindow;
}

void TrayIcon::copyTip() {
  record_.setTip(singleByte(main_.Text54->text()));
}

void TrayIcon::add() {
  // Before its load sets one, the window carries its design icon, the stopped clock.
  record_.iconName = main_.icon() == "running" ? "running" : "stopped";
  record_.iconId = record_.iconName == "running" ? kRunningIcon : kStoppedIcon;
  record_.icon = record_.iconId;
  copyTip();
  main_.services().tray.add(record_);
}

void TrayIcon::remove() {
  main_.services().tray.remove(record_);
}

}  // namespace vantrel
