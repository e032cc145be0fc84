// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QMainWindow>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/control.h"
#include "platform/form.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QScrollArea;

namespace vantrel {

class WindowPicture;

// The window of one form, drawn from its controls and bound both ways: model changes reach
// the widgets through the observers, and the user's keys and clicks reach the model
// through user_input.h, as a scripted user's do.
//
// A form gets its view before its load adds the controls, so the widgets are built on
// demand: at the next notification of the form or of a control, or on the next turn of
// the event loop, whichever comes first. Controls added later are picked up the same way.
//
// The view must go before its form: its destructor detaches the observers.
class FormWidget : public QMainWindow {
 public:
  explicit FormWidget(Form& form, QWidget* parent = nullptr);
  ~FormWidget() override;

  Form& form() const { return form_; }

  // Builds the widgets and menus of controls added since the last call.
  void ensureBuilt();

  // The widget drawing a control; null for timers, menu items and unknown controls.
  QWidget* widgetFor(const Control& control);
  // The action of a menu item, and the menu of an item with children.
  QAction* actionFor(const MenuItem& item);
  QMenu* menuFor(const MenuItem& item);
  // The client area below the menu bar, where the controls live.
  QWidget* clientArea() const { return canvas_; }
  // The window that owns this one: the desktop keeps this one in front of it.
  void setOwner(QWidget* owner);
  QWidget* owner() const;

  // The outer size in twips gives the client area as a classic window frame would.
  static constexpr int kFrameWidthPx = 16;
  static constexpr int kFrameHeightPx = 38;
  // The classic menu bar's height, which a window with menus gave up from its client area.
  static constexpr int kMenuBarPx = 20;
  // Controls were laid out for an 8-point window font.
  static constexpr double kDefaultFontPoints = 8.25;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Bound {
    Control* control = nullptr;
    QWidget* widget = nullptr;
    // The model rewrote the box while the user was typing in it; shown when the focus leaves.
    bool textPending = false;
    QFont font;                 // the font its style gives, before any shrinking to fit
    bool mousePressed = false;  // a button under the mouse: its press rule has run
  };

  void build(Control& control);
  QWidget* create(Control& control, QWidget* parent);
  QWidget* createTextBox(Control& control, QWidget* parent);
  QWidget* createList(Control& control, QWidget* parent);
  QWidget* createTable(Control& control, QWidget* parent);
  void applyTable(Bound& bound, Property property);
  void watch(QObject* object, Control& control);
  void rebuildMenus();
  QMenu* buildMenu(MenuItem& item, QWidget* parent);
  void refreshAction(MenuItem& item);
  void updateMenuBarVisibility();

  void formChanged(FormProperty property);
  void controlChanged(Control& control, Property property);
  void refresh(Bound& bound, Property property);
  void applyText(Bound& bound);
  void applyBoxText(Bound& bound, const QString& text);
  void applyListText(Bound& bound, const QString& text);
  void applyValue(Bound& bound);
  void applyBackColour(Bound& bound);
  void applyStyle(Bound& bound);
  void fitText(Bound& bound);
  void applyPicture(Bound& bound);
  void applyFolder(Bound& bound);
  void showChosenFile(Bound& bound);
  void applyRole();
  QSize frameAllowance() const;
  void applyFormSize();
  void scrollContents(bool scroll);
  void applyFormColour();
  void applyState();
  void showForm();
  void reveal();
  void dropPicture();
  void queueFocus();
  void showPopup();

  QWidget* readingFace(const Form::Reading& reading, QWidget* container);
  void placeReading(const Form::Reading& reading);
  QPoint originOf(const Control& control) const;
  void speechChanged(const Control& control, Property property);
  void queueSpeech();
  void refreshSpeech();
  void announce(Bound& bound);
  void assignAccessKeys();
  char accessKey(const Control& control) const;
  QString keyedCaption(const Control& control) const;
  void showCaption(Bound& bound);
  bool escapeCloses(QKeyEvent* event);
  void followFocus(QWidget* now);

  void userEdited(Control& box, const QString& screenText);
  bool userRefused(Control& box, const QString& screenText) const;
  void buttonClicked(Control& control);
  bool filterKey(Bound& bound, QKeyEvent* event);
  bool filterMouse(Bound& bound, QEvent* event);
  bool fileListMouse(Bound& bound, QMouseEvent* event);
  void fileChosenByKey(Control& list, const QString& name);
  void focusLeft(Bound& bound, Qt::FocusReason reason);
  void focusEntered(Bound& bound, Qt::FocusReason reason);
  Bound* boundFor(const Control* control);
  QString screenText(const Bound& bound) const;

  Form& form_;
  QWidget* canvas_;
  QScrollArea* scroller_ = nullptr;  // around the client area where the screen is too small
  QPoint placeAt_;
  std::size_t built_ = 0;  // how many of the form's controls have been looked at
  std::map<const Control*, Bound> bound_;
  std::map<const QObject*, Control*> watched_;
  std::map<const MenuItem*, QAction*> actions_;
  std::map<const MenuItem*, QMenu*> menus_;
  std::map<const Form::Reading*, QWidget*> faces_;
  std::map<const Control*, char> accessKeys_;
  QWidget* ring_ = nullptr;  // the focus ring, made when a control first takes the focus
  bool speechQueued_ = false;
  bool namesDirty_ = false;         // names and access keys are read again on the next refresh
  std::set<const Control*> heard_;  // the labels the names were read from
  bool menusDirty_ = false;
  bool hasMenuBar_ = false;
  Control* editing_ = nullptr;  // the box whose user edit is being written into the model
  bool updating_ = false;       // the view writes a widget: its signals are not user edits
  bool applyingState_ = false;
  bool shownOnce_ = false;
  bool wanted_ = false;  // shown or looked at: its widgets are made and kept current
  bool focusQueued_ = false;
  bool revealQueued_ = false;  // shown while its owner was on its way: shows after it
  bool detached_ = false;
  // Drawn in place of the client area, hidden until the picture is on the screen.
  std::unique_ptr<WindowPicture> picture_;
};

}  // namespace vantrel
