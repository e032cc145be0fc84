// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/user_input.h"

#include "platform/services.h"

namespace vantrel {
bool isEntryKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::DatePicker:
    case ControlKind::DriveList:
    case ControlKind::FolderList:
    case ControlKind::FileList:
      return true;
    default:
      return false;
  }
}

bool isButtonKind(ControlKind kind) {
  return kind == ControlKind::CommandButton || kind == ControlKind::CheckBox ||
         kind == ControlKind::OptionButton;
}

void userPress(Control& control) {
  runRule(control.onMouseDown);
}

bool userActivate(Control& control) {
  if ((isEntryKind(control.kind()) || isButtonKind(control.kind())) &&
      !control.form().focus(control))
    return false;
  switch (control.kind()) {
    case ControlKind::CheckBox:
      control.setValue(control.value() == 0 ? 1 : 0);
      break;
    case ControlKind::OptionButton:
      control.setValue(1);
      break;
    case ControlKind::TextBox:
      break;
    case ControlKind::MenuItem:
      control.form().closePopup();
      runRule(control.onClick);
      break;
    default:
      runRule(control.onClick);
      break;
  }
  return true;
}

bool userClick(Control& control) {
  const bool reachable = control.reachable();
  userPress(control);
  // A button that the press itself disabled or hid never gets the click.
  if (reachable && !control.reachable()) return true;
  return userActivate(control);
}

bool userKeyActivate(Control& control) {
  return isButtonKind(control.kind()) ? userClick(control) : userActivate(control);
}

bool userDoubleClick(Control& control) {
  if (!userClick(control)) return false;
  runRule(control.onDoubleClick);
  return true;
}

char typedKey(const Control& box, char key) {
  if (key == ',' && box.figures && box.form().services().clock.decimalSeparator() == ',') {
    return '.';
  }
  return key;
}

bool userType(Control& box, char typed) {
  if (!box.form().focus(box)) return false;
  const char key = typedKey(box, typed);
  if (box.onKeyPress) {
    auto filter = box.onKeyPress;
    if (!filter(key)) return true;
  }
  // A locked box hears the key but its text stays, as in a real window.
  if (box.style().readOnly) return true;
  std::string text = box.form().typedText(box);
  if (key == '\b') {
    if (text.empty()) return true;
    // Drop one whole UTF-8 character.
    std::size_t cut = text.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.erase(cut);
  } else if (key == '\r' || key == '\n') {
    if (!box.style().multiLine) return true;
    text += "\r\n";
  } else {
    text += key;
  }
  if (userRefuses(box, text)) return true;
  setField(box, text);
  box.form().rememberTyped(box, text);
  return true;
}

bool userRefuses(Control& box, std::string_view text) {
  if (!box.refuses) return false;
  const std::string reason = box.refuses(text);
  if (reason.empty()) return false;
  box.form().services().messages.show(reason);
  return true;
}

bool userLeave(Control& box) {
  if (box.form().focused() != &box) return true;
  return box.form().leaveFocus();
}

}  // namespace vantrel
