// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/services.h"

namespace vantrel {

Form::Form(Services& services, std::string name, std::string caption, int width, int height)
    : services_(services),
      name_(std::move(name)),
      caption_(std::move(caption)),
      width_(width),
      height_(height) {}

// Timers leave the host before the rest of the form goes.
Form::~Form() {
  for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) it->reset();
}

void Form::notify(FormProperty p) {
  if (observer) observer(*this, p);
}

void Form::setCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  notify(FormProperty::Caption);
}

void Form::show() {
  if (state_ == WindowState::Minimized) setState(WindowState::Normal);
  if (visible_) {
    notify(FormProperty::Visible);  // already shown: the view raises it
    return;
  }
  visible_ = true;
  notify(FormProperty::Visible);
}

void Form::hide() {
  if (!visible_) return;
  closePopup();
  visible_ = false;
  notify(FormProperty::Visible);
}

void Form::setSize(int width, int height) {
  if (width_ == width && height_ == height) return;
  width_ = width;
  height_ = height;
  notify(FormProperty::Size);
}

void Form::setIcon(std::string icon) {
  if (icon_ == icon) return;
  icon_ = std::move(icon);
  notify(FormProperty::Icon);
}

void Form::setBackColour(Colour colour) {
  if (backColour_ == colour) return;
  backColour_ = colour;
  notify(FormProperty::BackColour);
}

void Form::setState(WindowState state) {
  if (state_ == state) return;
  state_ = state;
  notify(FormProperty::State);
}

Control& Form::add(ControlKind kind, std::string name, Geometry geometry, std::string text,
                   Control* container) {
  auto control = std::make_unique<Control>(*this, std::move(name), kind);
  control->setGeometry(geometry);
  control->storeText(std::move(text));
  control->setContainer(container);
  Control& ref = *control;
  if (!byName_.emplace(ref.name(), &ref).second) {
    throw std::logic_error("two controls named " + ref.name() + " on " + name_);
  }
  order_.push_back(&ref);
  owned_.push_back(std::move(control));
  return ref;
}

Timer& Form::addTimer(std::string name, int intervalMs, bool enabled) {
  auto timer = std::make_unique<Timer>(*this, std::move(name), intervalMs, enabled);
  Timer& ref = *timer;
  if (!byName_.emplace(ref.name(), &ref).second) {
    throw std::logic_error("two controls named " + ref.name() + " on " + name_);
  }
  order_.push_back(&ref);
  owned_.push_back(std::move(timer));
  return ref;
}

Table& Form::addTable(std::string name, Geometry geometry, Control* container) {
  auto table = std::make_unique<Table>(*this, std::move(name));
  table->setGeometry(geometry);
  table->setContainer(container);
  Table& ref = *table;
  if (!byName_.emplace(ref.name(), &ref).second) {
    throw std::logic_error("two controls named " + ref.name() + " on " + name_);
  }
  order_.push_back(&ref);
  owned_.push_back(std::move(table));
  return ref;
}

MenuItem& Form::addMenu(std::string name, std::string caption, MenuItem* parent) {
  auto item = std::make_unique<MenuItem>(*this, std::move(name), std::move(caption), parent);
  MenuItem& ref = *item;
  // Separators may share a name; only named entries are looked up.
  if (!ref.separator() && !byName_.emplace(ref.name(), &ref).second) {
    throw std::logic_error("two controls named " + ref.name() + " on " + name_);
  }
  order_.push_back(&ref);
  owned_.push_back(std::move(item));
  return ref;
}

Control* Form::find(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

Control& Form::control(const std::string& name) const {
  Control* c = find(name);
  if (c == nullptr) throw std::out_of_range(name_ + " has no control " + name);
  return *c;
}

std::vector<MenuItem*> Form::menuChildren(const MenuItem* parent) const {
  std::vector<MenuItem*> items;
  for (Control* c : order_) {
    if (c->kind() != ControlKind::MenuItem) continue;
    auto* item = static_cast<MenuItem*>(c);
    if (item->parentMenu() == parent) items.push_back(item);
  }
  return items;
}

bool Form::leaveFocus() {
  if (focused_ == nullptr) return true;
  Control* leaving = focused_;
  if (leaving->onFocusLeave) {
    auto rule = leaving->onFocusLeave;
    if (rule()) {
      leaving->notify(Property::Focus);
      return false;
    }
  }
  focused_ = nullptr;
  typingBox_ = nullptr;
  return true;
}

std::string Form::typedText(const Control& box) const {
  // Anything but the box's own rules changed it (a paste, a file): start from the model.
  if (typingBox_ == &box && box.text() == modelAfterTyping_) return typed_;
  return box.text();
}

void Form::rememberTyped(Control& box, std::string typed) {
  typingBox_ = &box;
  typed_ = std::move(typed);
  modelAfterTyping_ = box.text();
}

bool Form::focus(Control& control) {
  if (focused_ == &control) return true;
  if (!leaveFocus()) return false;
  focused_ = &control;
  typingBox_ = nullptr;
  control.notify(Property::Focus);
  return true;
}

void Form::popup(MenuItem& menu) {
  popped_ = &menu;
  notify(FormProperty::Popup);
}

void Form::closePopup() {
  popped_ = nullptr;
}

bool Form::requestClose() {
  if (onQueryClose) {
    auto rule = onQueryClose;
    if (rule()) {
      notify(FormProperty::Close);
      return false;
    }
  }
  hide();
  return true;
}

void Form::readAsOne(std::vector<Control*> parts, std::function<std::string()> say) {
  readings_.push_back(Reading{std::move(parts), std::move(say)});
}

const Form::Reading* Form::readingOf(const Control& part) const {
  for (const Reading& reading : readings_) {
    if (std::find(reading.parts.begin(), reading.parts.end(), &part) != reading.parts.end()) {
      return &reading;
    }
  }
  return nullptr;
}

}  // namespace vantrel
