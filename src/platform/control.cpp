// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/control.h"

#include "platform/form.h"
#include "platform/services.h"

namespace vantrel {

const char* kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
      return "text box";
    case ControlKind::Label:
      return "label";
    case ControlKind::CheckBox:
      return "check box";
    case ControlKind::OptionButton:
      return "option button";
    case ControlKind::CommandButton:
      return "command button";
    case ControlKind::Frame:
      return "frame";
    case ControlKind::PictureBox:
      return "picture box";
    case ControlKind::Image:
      return "image";
    case ControlKind::ProgressBar:
      return "progress bar";
    case ControlKind::DatePicker:
      return "date picker";
    case ControlKind::DriveList:
      return "drive list";
    case ControlKind::Table:
      return "table";
    case ControlKind::FolderList:
      return "folder list";
    case ControlKind::FileList:
      return "file list";
    case ControlKind::MenuItem:
      return "menu item";
    case ControlKind::Line:
      return "line";
    case ControlKind::Shape:
      return "shape";
    case ControlKind::Timer:
      return "timer";
  }
  return "control";
}

Control::Control(Form& form, std::string name, ControlKind kind)
    : form_(form), name_(std::move(name)), kind_(kind) {
  if (kind == ControlKind::TextBox) backColour_ = colour::white;
}

void Control::notify(Property p) {
  if (observer) observer(*this, p);
}

void Control::storeText(std::string text) {
  text_ = std::move(text);
  notify(Property::Text);
}

void runRule(const std::function<void()>& rule) {
  if (rule) {
    auto copy = rule;
    copy();
  }
}

void setField(Control& box, std::string_view text) {
  if (box.text() == text) return;
  if (box.refuses && !box.refuses(text).empty()) return;
  box.storeText(std::string(text));
  runRule(box.onChange);
}

void Control::setTooltip(std::string tooltip) {
  if (tooltip_ == tooltip) return;
  tooltip_ = std::move(tooltip);
  notify(Property::Tooltip);
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  notify(Property::Enabled);
  enabledChanged();
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  notify(Property::Visible);
}

void Control::setBackColour(Colour colour) {
  if (backColour_ == colour) return;
  backColour_ = colour;
  style_.hasBackColour = true;
  notify(Property::BackColour);
}

void Control::setValue(int value) {
  if (value_ == value) return;
  value_ = value;
  if (kind_ == ControlKind::OptionButton && value != 0) {
    // One chosen option per container: the others clear without running their rules.
    for (Control* other : form_.controls()) {
      if (other != this && other->kind_ == ControlKind::OptionButton &&
          other->container_ == container_ && other->value_ != 0) {
        other->value_ = 0;
        other->notify(Property::Value);
      }
    }
  }
  notify(Property::Value);
  bool clickable =
      kind_ == ControlKind::CheckBox || (kind_ == ControlKind::OptionButton && value != 0);
  if (clickable) runRule(onClick);
}

void Control::setGeometry(Geometry geometry) {
  if (geometry_ == geometry) return;
  geometry_ = geometry;
  notify(Property::Geometry);
}

void Control::setPicture(std::string picture) {
  if (picture_ == picture) return;
  picture_ = std::move(picture);
  notify(Property::Picture);
}

void Control::setFolder(std::string folder) {
  if (folder_ == folder) return;
  folder_ = std::move(folder);
  notify(Property::Folder);
}

bool Control::shownWithContainers() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->visible_) return false;
  }
  return true;
}

bool Control::reachable() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

Timer::Timer(Form& form, std::string name, int intervalMs, bool enabled)
    : Control(form, std::move(name), ControlKind::Timer), interval_(intervalMs) {
  setVisible(false);
  if (enabled) {
    restart();
  } else {
    setEnabled(false);
  }
}

Timer::~Timer() {
  form().services().timers.timerGone(*this);
}

void Timer::setInterval(int ms) {
  if (interval_ == ms) return;
  interval_ = ms;
  notify(Property::Interval);
  restart();
}

void Timer::enabledChanged() {
  restart();
  runRule(onRunChange);
}

void Timer::restart() {
  form().services().timers.timerChanged(*this);
}

void Timer::fire() {
  if (enabled() && interval_ > 0) runRule(onTimer);
}

MenuItem::MenuItem(Form& form, std::string name, std::string caption, MenuItem* parent)
    : Control(form, std::move(name), ControlKind::MenuItem), parent_(parent) {
  storeText(std::move(caption));
}

Table::Table(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Table) {}

std::string Table::text(std::size_t row, std::size_t column) const {
  return cell && row < rows() && column < columns.size() ? cell(row, column) : std::string();
}

void Table::setCurrent(std::optional<std::size_t> row) {
  if (row && *row >= rows()) row.reset();
  if (row == current_) return;
  current_ = row;
  notify(Property::Current);
  runRule(onSelect);
}

void Table::rowsChanged() {
  if (current_ && *current_ >= rows()) current_.reset();
  notify(Property::Rows);
}

void Table::cellsChanged() {
  notify(Property::Cells);
}

}  // namespace vantrel
