#include "app/tray_icon.h"

#include "app/main_form.h"
#include "platform/text_file.h"

namespace vantrel {
namespace {
constexpr std::uint32_t kMainWindow = 1;
constexpr std::uint32_t kRunningIcon = 101;
constexpr std::uint32_t kStoppedIcon = 102;
}  // namespace

TrayIcon::TrayIcon(MainForm& main) : main_(main) { record_.window = kMainWindow; }

void TrayIcon::copyTip() {
  // The tip is single-byte text; a character without a single-byte code becomes "?".
  const std::string& text = main_.Text54->text();
  record_.setTip(toWindows1252(text).value_or(std::string(text.size(), '?')));
}

void TrayIcon::add() {
  record_.iconName = main_.icon();
  record_.iconId = record_.iconName == "running" ? kRunningIcon : kStoppedIcon;
  record_.icon = record_.iconId;
  copyTip();
  main_.services().tray.add(record_);
}

void TrayIcon::remove() { main_.services().tray.remove(record_); }

}  // namespace vantrel
