// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colour.h"

namespace vantrel {

class Form;
class TimerHost;

enum class ControlKind {
  TextBox,
  Label,
  CheckBox,
  OptionButton,
  CommandButton,
  Frame,
  PictureBox,
  Image,
  ProgressBar,
  DatePicker,
  DriveList,
  FolderList,
  FileList,
  MenuItem,
  Timer,
  Line,   // from (left, top) to (left + width, top + height)
  Shape,  // the outline of its rectangle
  Table,  // rows and columns of text, from a source (class Table)
};

const char* kindName(ControlKind kind);

// Position and size in twips (1/1440 inch), relative to the containing frame or the form.
struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Geometry&) const = default;
};

enum class Align { Left, Centre, Right };

// How the view draws a control; the model never reads it.
struct Style {
  double fontPoints = 0;  // 0: the window's default
  bool bold = false;
  Align align = Align::Left;
  bool readOnly = false;
  bool multiLine = false;
  bool graphical = false;  // check box drawn as a push button
  Colour foreColour = colour::black;
  bool hasBackColour = false;  // false: the platform's own background
  // File lists: the names shown ("*" all files; "*.pql;*.txt" several patterns), or only
  // the files the user may run.
  std::string pattern = "*";
  bool executablesOnly = false;
  bool borderless = false;    // a text box drawn as bare text, as on a printed page
  std::string fontName = {};  // empty: the window's default
  bool shrinkToFit = false;   // a text too wide for its box is drawn smaller, not cut
};

// What changed, for the one observer of a control (the view).
enum class Property {
  Text,
  Tooltip,
  Enabled,
  Visible,
  BackColour,
  Value,
  Geometry,
  Focus,
  Picture,
  Interval,
  Folder,
  Rows,     // a table's rows were added, removed or reordered
  Cells,    // a table's cells changed in place
  Current,  // a table's current row
};

class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  Form& form() const { return form_; }

  // Text of a text box, caption of everything else. Use setField to change it.
  const std::string& text() const { return text_; }
  const std::string& tooltip() const { return tooltip_; }
  bool enabled() const { return enabled_; }
  bool visible() const { return visible_; }
  Colour backColour() const { return backColour_; }
  // 0/1 for check boxes, 0 (false) / 1 (true) for option buttons, position of a progress bar.
  int value() const { return value_; }
  const Geometry& geometry() const { return geometry_; }
  Control* container() const { return container_; }
  const std::string& picture() const { return picture_; }
  Style& style() { return style_; }
  const Style& style() const { return style_; }

  void setTooltip(std::string tooltip);
  void setEnabled(bool enabled);
  void setVisible(bool visible);
  void setBackColour(Colour colour);
  // A code change of a check box or option button runs its click rule, as a user click does.
  void setValue(int value);
  void setGeometry(Geometry geometry);
  void setContainer(Control* frame) { container_ = frame; }
  void setPicture(std::string picture);
  // A file list shows the files of this folder; its text is the chosen file's name.
  const std::string& folder() const { return folder_; }
  void setFolder(std::string folder);

  // Visible and enabled here and in every containing frame: where a user can reach it.
  bool reachable() const;
  bool shownWithContainers() const;

  // The one way a text changes; see setField.
  void storeText(std::string text);

  // How the text reads where it is shown, where that differs from what the control holds: a
  // figure on an invoice written the way its customer's language writes it ("1.234,56" for
  // "1,234.56"). The rules go on reading and writing text().
  std::function<std::string(const std::string&)> shows;
  std::string shownText() const { return shows ? shows(text_) : text_; }

  std::function<void()> onChange;
  std::function<void()> onClick;
  std::function<void()> onDoubleClick;
  std::function<void()> onMouseDown;
  std::function<void(int x, int y)> onMouseMove;
  std::function<bool(char)> onKeyPress;  // false drops the key
  std::function<bool()> onFocusLeave;    // true keeps the focus
  // Why this box may not hold a text (a figure too large to compute with), or empty when it
  // may. setField leaves the box as it was, so a file cannot put it there; typed or pasted,
  // the reason is shown (userRefuses).
  std::function<std::string(std::string_view)> refuses;
  // A box of figures: where the locale writes a decimal comma, the comma key and the
  // keypad's decimal key type the point a figure is written with (see typedKey).
  bool figures = false;

  // What a screen reader calls the control where neither its caption nor the label in
  // front of it says it (see spokenName). In `name`, "%1" stands for the current text of
  // `from`: "Service 2 (%1), hours" follows the category's label.
  struct Spoken {
    std::string name;
    const Control* from = nullptr;
    bool live = false;  // a change of its text is announced as it happens (a status line)
  };
  Spoken spoken;

  // The view: told of every real change of state.
  std::function<void(Control&, Property)> observer;

  // Tells the view; setters call it on every real change.
  void notify(Property p);

 protected:
  virtual void enabledChanged() {}

 private:
  Form& form_;
  std::string name_;
  ControlKind kind_;
  std::string text_;
  std::string tooltip_;
  bool enabled_ = true;
  bool visible_ = true;
  Colour backColour_ = colour::buttonFace;
  int value_ = 0;
  Geometry geometry_;
  Control* container_ = nullptr;
  std::string picture_;
  std::string folder_;
  Style style_;
};

// Runs a handler, if any, through a copy: a rule may replace its own handler while it runs.
void runRule(const std::function<void()>& rule);

// Writes a text; when it differs it is stored and the control's change rule runs at once.
// Rules that write other controls run those rules to their end first (depth-first).
void setField(Control& box, std::string_view text);

class Timer : public Control {
 public:
  Timer(Form& form, std::string name, int intervalMs, bool enabled);
  ~Timer() override;

  int interval() const { return interval_; }
  // Enabling a disabled timer or changing the interval of an enabled one starts it again;
  // enabling an enabled one changes nothing. An interval of 0 never fires.
  void setInterval(int ms);
  // Called by the timer host when the timer is due; a disabled timer never fires.
  void fire();

  std::function<void()> onTimer;
  // The timer was enabled or disabled, whoever did it.
  std::function<void()> onRunChange;

 protected:
  void enabledChanged() override;

 private:
  void restart();
  int interval_;
};

// Rows of text in columns, asked for only as they are shown, so a table of a hundred
// thousand rows costs no more than one of ten. The owner supplies the rows through its
// functions and says when they change; the view draws them (one list view, never a control
// a row) and hands back the user's choice of row and typed cells.
class Table : public Control {
 public:
  struct Column {
    std::string title;
    int width = 1200;  // twips
    Align align = Align::Left;
    bool editable = false;
  };
  Table(Form& form, std::string name);

  std::vector<Column> columns;
  std::function<std::size_t()> rowCount;
  std::function<std::string(std::size_t row, std::size_t column)> cell;
  std::function<bool(std::size_t row)> emphasised;  // drawn bold: totals
  // A typed cell of an editable column: why it is refused, or empty when it was taken.
  std::function<std::string(std::size_t row, std::size_t column, const std::string& text)> edit;
  // The current row changed, by the user or the owner.
  std::function<void()> onSelect;

  std::size_t rows() const { return rowCount ? rowCount() : 0; }
  std::string text(std::size_t row, std::size_t column) const;
  std::optional<std::size_t> current() const { return current_; }
  void setCurrent(std::optional<std::size_t> row);
  void rowsChanged();   // after rows came or went: the current row is kept where it still is
  void cellsChanged();  // the same rows with new texts

 private:
  std::optional<std::size_t> current_;
};

class MenuItem : public Control {
 public:
  MenuItem(Form& form, std::string name, std::string caption, MenuItem* parent);
  MenuItem* parentMenu() const { return parent_; }
  bool separator() const { return text() == "-"; }
  std::string shortcut;  // e.g. "Ctrl+S"; shown by the view

 private:
  MenuItem* parent_;
};

}  // namespace vantrel
