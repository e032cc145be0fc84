// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/control.h"

namespace vantrel {

struct Services;

enum class FormProperty { Caption, Visible, Size, Icon, BackColour, State, Popup, Close };

enum class WindowState { Normal, Minimized, Maximized };

// What a window is to the desktop. Side windows belong to the main window: the desktop
// keeps them in front of it and minimises them with it.
enum class WindowRole { Side, Main, Splash, Dialog };

// One window of the program: its controls, menus and timers, and its own state.
class Form {
 public:
  Form(Services& services, std::string name, std::string caption, int width, int height);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  const std::string& name() const { return name_; }
  Services& services() const { return services_; }

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool visible() const { return visible_; }
  void show();
  void hide();
  int width() const { return width_; }
  int height() const { return height_; }
  void setSize(int width, int height);
  const std::string& icon() const { return icon_; }
  void setIcon(std::string icon);
  Colour backColour() const { return backColour_; }
  void setBackColour(Colour colour);
  WindowState state() const { return state_; }
  void setState(WindowState state);
  bool resizable = false;
  WindowRole role = WindowRole::Side;

  // Runs once, right after the form is constructed and registered.
  virtual void load() {}

  Control& add(ControlKind kind, std::string name, Geometry geometry, std::string text = {},
               Control* container = nullptr);
  Timer& addTimer(std::string name, int intervalMs, bool enabled);
  MenuItem& addMenu(std::string name, std::string caption, MenuItem* parent = nullptr);
  Table& addTable(std::string name, Geometry geometry, Control* container = nullptr);

  Control* find(const std::string& name) const;
  Control& control(const std::string& name) const;  // throws std::out_of_range
  const std::vector<Control*>& controls() const { return order_; }
  std::vector<MenuItem*> menuChildren(const MenuItem* parent) const;

  // Focus: moving it away asks the focused box first; false when it kept the focus.
  Control* focused() const { return focused_; }
  bool focus(Control& control);
  bool leaveFocus();

  // What the user has typed into the focused box. The box keeps showing it while the model
  // formats its own text ("2" stays "2" although the rate already reads "2.00"), so the next
  // key extends what was typed, as it does in a real text box.
  std::string typedText(const Control& box) const;
  void rememberTyped(Control& box, std::string typed);

  // Opens a pop-up menu at the pointer (the view shows it; headless records it).
  void popup(MenuItem& menu);
  MenuItem* poppedUp() const { return popped_; }
  void closePopup();

  // The close box: true when the close went ahead.
  bool requestClose();
  std::function<bool()> onQueryClose;  // true cancels the close
  std::function<void()> onKeyPress;    // any key pressed on the window itself
  std::function<void()> onClick;       // a click on the window itself

  // Boxes a listener hears as one figure, such as the clock's eight digits: one stop for
  // Tab, named by `say` ("Job clock, 00:11:00, running"), read again whenever a part changes.
  struct Reading {
    std::vector<Control*> parts;
    std::function<std::string()> say;
  };
  void readAsOne(std::vector<Control*> parts, std::function<std::string()> say);
  const std::vector<Reading>& readings() const { return readings_; }
  const Reading* readingOf(const Control& part) const;

  std::function<void(Form&, FormProperty)> observer;

 private:
  void notify(FormProperty p);

  Services& services_;
  std::string name_;
  std::string caption_;
  bool visible_ = false;
  int width_;
  int height_;
  std::string icon_;
  Colour backColour_ = colour::buttonFace;
  WindowState state_ = WindowState::Normal;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> order_;
  std::map<std::string, Control*> byName_;
  Control* focused_ = nullptr;
  Control* typingBox_ = nullptr;
  std::string typed_;
  std::string modelAfterTyping_;
  MenuItem* popped_ = nullptr;
  std::vector<Reading> readings_;
};

}  // namespace vantrel
