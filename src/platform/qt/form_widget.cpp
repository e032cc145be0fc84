// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/form_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "platform/qt/qt_convert.h"
#include "platform/qt/window_picture.h"
#include "platform/qt/qt_printing.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

// Check boxes and options answer a click anywhere in their rectangle, not only on the
// indicator and the text.
class WholeCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class WholeRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

FormWidget::FormWidget(Form& form, QWidget* parent)
    : QMainWindow(parent), form_(form), canvas_(new QWidget(this)) {
  setObjectName(toQString(form.name()));
  canvas_->setObjectName(QStringLiteral("clientArea"));
  canvas_->setAutoFillBackground(true);
  QFont font = canvas_->font();
  font.setPointSizeF(kDefaultFontPoints);
  canvas_->setFont(font);
  canvas_->installEventFilter(this);
  setCentralWidget(canvas_);
  setWindowTitle(toQString(form.caption()));
  applyRole();
  applyFormSize();
  applyFormColour();
  if (!form.icon().empty()) setWindowIcon(resourceIcon(form.icon()));
  form_.observer = [this](Form&, FormProperty property) { formChanged(property); };
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!detached_) followFocus(now);
  });
  // The widgets are made from the model when the window first shows (or is looked at): the
  // program loads several windows at start that the user may never open.
}

FormWidget::~FormWidget() {
  detached_ = true;
  form_.observer = nullptr;
  // Every control looked at got an observer, timers and menu items included.
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < built_ && i < controls.size(); ++i) controls[i]->observer = nullptr;
  // Children go while the bookkeeping they might report to still exists.
  for (auto& [item, menu] : menus_) menu->disconnect(this);
  delete takeCentralWidget();
}

void FormWidget::ensureBuilt() {
  if (detached_) return;
  wanted_ = true;
  const auto& controls = form_.controls();
  const std::size_t before = built_;
  while (built_ < controls.size()) build(*controls[built_++]);
  if (menusDirty_) rebuildMenus();
  if (built_ != before) {
    namesDirty_ = true;
    queueSpeech();
  }
}

void FormWidget::build(Control& control) {
  control.observer = [this](Control& c, Property p) { controlChanged(c, p); };
  if (control.kind() == ControlKind::MenuItem) {
    menusDirty_ = true;
    return;
  }
  if (control.kind() == ControlKind::Timer) return;
  QWidget* parent = canvas_;
  if (Bound* frame = boundFor(control.container())) parent = frame->widget;
  if (const Form::Reading* reading = form_.readingOf(control))
    parent = readingFace(*reading, parent);
  QWidget* widget = create(control, parent);
  widget->setObjectName(toQString(control.name()));
  // The boxes of a reading are heard through it, never on their own.
  if (form_.readingOf(control) != nullptr) widget->setFocusPolicy(Qt::NoFocus);
  Bound& bound = bound_[&control];
  bound.control = &control;
  bound.widget = widget;
  watch(widget, control);
  applyStyle(bound);
  for (Property p :
       {Property::Geometry, Property::Text, Property::Value, Property::Tooltip, Property::Enabled,
        Property::BackColour, Property::Picture, Property::Folder, Property::Visible}) {
    refresh(bound, p);
  }
  if (form_.focused() == &control) queueFocus();
}

void FormWidget::watch(QObject* object, Control& control) {
  watched_[object] = &control;
  object->installEventFilter(this);
}

QWidget* FormWidget::create(Control& control, QWidget* parent) {
  Control* c = &control;
  switch (control.kind()) {
    case ControlKind::TextBox:
      return createTextBox(control, parent);
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      return label;
    }
    case ControlKind::CheckBox: {
      QAbstractButton* button = nullptr;
      if (control.style().graphical) {
        auto* push = new QPushButton(parent);
        push->setCheckable(true);
        button = push;
      } else {
        button = new WholeCheckBox(parent);
      }
      connect(button, &QAbstractButton::clicked, this, [this, c] { buttonClicked(*c); });
      return button;
    }
    case ControlKind::OptionButton: {
      auto* radio = new WholeRadioButton(parent);
      // The model keeps one option per container chosen and may clear them all.
      radio->setAutoExclusive(false);
      connect(radio, &QAbstractButton::clicked, this, [this, c] { buttonClicked(*c); });
      return radio;
    }
    case ControlKind::CommandButton: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(true);  // Enter on a focused button clicks it
      connect(button, &QAbstractButton::clicked, this, [this, c] { buttonClicked(*c); });
      return button;
    }
    case ControlKind::Frame:
      return new QGroupBox(parent);
    case ControlKind::PictureBox:
    case ControlKind::Image: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(control.kind() == ControlKind::Image ? Qt::AlignCenter
                                                                 : Qt::AlignLeft | Qt::AlignTop);
      return picture;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setRange(0, 100);
      bar->setTextVisible(false);
      return bar;
    }
    case ControlKind::DatePicker: {
      auto* date = new QDateEdit(parent);
      date->setCalendarPopup(true);
      date->setDisplayFormat(dateFormat());
      if (auto* line = date->findChild<QLineEdit*>()) watch(line, control);
      connect(date, &QDateEdit::dateChanged, this, [this, c](QDate value) {
        if (!updating_ && !detached_) userEdited(*c, dateToText(value));
      });
      return date;
    }
    case ControlKind::DriveList:
    case ControlKind::FolderList:
    case ControlKind::FileList:
      return createList(control, parent);
    case ControlKind::Table:
      return createTable(control, parent);
    case ControlKind::Line:
    case ControlKind::Shape: {
      // Drawn over what lies under them, but never in the way of a click.
      auto* frame = new QFrame(parent);
      frame->setAttribute(Qt::WA_TransparentForMouseEvents);
      if (control.kind() == ControlKind::Line) {
        frame->setAutoFillBackground(true);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window, Qt::black);
        frame->setPalette(palette);
      } else {
        frame->setStyleSheet(QStringLiteral("QFrame { border: 1px solid black; }"));
      }
      return frame;
    }
    case ControlKind::MenuItem:
    case ControlKind::Timer:
      break;
  }
  return new QWidget(parent);
}

FormWidget::Bound* FormWidget::boundFor(const Control* control) {
  if (control == nullptr) return nullptr;
  auto it = bound_.find(control);
  return it == bound_.end() ? nullptr : &it->second;
}

QWidget* FormWidget::widgetFor(const Control& control) {
  ensureBuilt();
  Bound* bound = boundFor(&control);
  return bound ? bound->widget : nullptr;
}

QAction* FormWidget::actionFor(const MenuItem& item) {
  ensureBuilt();
  auto it = actions_.find(&item);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* FormWidget::menuFor(const MenuItem& item) {
  ensureBuilt();
  auto it = menus_.find(&item);
  return it == menus_.end() ? nullptr : it->second;
}

// ---- model to view ----

void FormWidget::formChanged(FormProperty property) {
  if (detached_) return;
  // The opening window's first showing makes its widgets itself, once it knows whether its
  // picture stands in for them.
  const bool opening = form_.role == WindowRole::Splash && !shownOnce_;
  if (wanted_ || (property == FormProperty::Visible && form_.visible() && !opening)) ensureBuilt();
  switch (property) {
    case FormProperty::Caption:
      setWindowTitle(toQString(form_.caption()));
      break;
    case FormProperty::Visible:
      if (form_.visible()) {
        showForm();
      } else {
        for (auto& [item, menu] : menus_) menu->hide();
        hide();
        // The splash is seldom shown twice: its drawing's memory goes with its native
        // window, and a later showing makes them again.
        if (form_.role == WindowRole::Splash) destroy();
      }
      break;
    case FormProperty::Size:
      applyFormSize();
      break;
    case FormProperty::Icon:
      setWindowIcon(form_.icon().empty() ? QApplication::windowIcon() : resourceIcon(form_.icon()));
      break;
    case FormProperty::BackColour:
      applyFormColour();
      break;
    case FormProperty::State:
      applyState();
      break;
    case FormProperty::Popup:
      showPopup();
      break;
    case FormProperty::Close:
      break;  // the close was cancelled: nothing to draw
  }
}

void FormWidget::controlChanged(Control& control, Property property) {
  if (detached_) return;
  ensureBuilt();
  speechChanged(control, property);
  if (control.kind() == ControlKind::MenuItem) {
    refreshAction(static_cast<MenuItem&>(control));
    if (static_cast<MenuItem&>(control).parentMenu() == nullptr) updateMenuBarVisibility();
    return;
  }
  Bound* bound = boundFor(&control);
  if (bound != nullptr) refresh(*bound, property);
  if (bound != nullptr && property == Property::Text && control.spoken.live) announce(*bound);
}

void FormWidget::refresh(Bound& bound, Property property) {
  Control& control = *bound.control;
  QWidget* widget = bound.widget;
  switch (property) {
    case Property::Text:
      applyText(bound);
      fitText(bound);
      break;
    case Property::Tooltip:
      widget->setToolTip(toQString(control.tooltip()));
      break;
    case Property::Enabled:
      widget->setEnabled(control.enabled());
      break;
    case Property::Visible:
      widget->setVisible(control.visible());
      break;
    case Property::BackColour:
      applyBackColour(bound);
      break;
    case Property::Value:
      applyValue(bound);
      break;
    case Property::Geometry: {
      const Geometry& g = control.geometry();
      if (control.kind() == ControlKind::Line) {
        // A line of no width or height is still a pixel thick.
        widget->setGeometry(twipsToPixels(g.left), twipsToPixels(g.top),
                            std::max(1, twipsToPixels(g.width)),
                            std::max(1, twipsToPixels(g.height)));
        break;
      }
      if (const Form::Reading* reading = form_.readingOf(control)) placeReading(*reading);
      const QPoint origin = originOf(control);
      widget->setGeometry(twipsToPixels(g.left) - origin.x(), twipsToPixels(g.top) - origin.y(),
                          twipsToPixels(g.width), twipsToPixels(g.height));
      fitText(bound);
      break;
    }
    case Property::Focus:
      queueFocus();
      break;
    case Property::Picture:
      applyPicture(bound);
      break;
    case Property::Folder:
      applyFolder(bound);
      break;
    case Property::Interval:
      break;
    case Property::Rows:
    case Property::Cells:
    case Property::Current:
      applyTable(bound, property);
      break;
  }
}

QString FormWidget::screenText(const Bound& bound) const {
  if (auto* edit = qobject_cast<QPlainTextEdit*>(bound.widget)) return edit->toPlainText();
  if (auto* edit = qobject_cast<QLineEdit*>(bound.widget)) return edit->text();
  return {};
}

void FormWidget::applyText(Bound& bound) {
  Control& control = *bound.control;
  QWidget* widget = bound.widget;
  const QString text = modelToScreenText(control.shownText());
  const bool outer = updating_;
  updating_ = true;
  switch (control.kind()) {
    case ControlKind::TextBox:
      applyBoxText(bound, text);
      break;
    case ControlKind::Label:
      static_cast<QLabel*>(widget)->setText(withoutMnemonic(text));
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::CommandButton:
      showCaption(bound);
      break;
    case ControlKind::Frame:
      static_cast<QGroupBox*>(widget)->setTitle(text);
      break;
    case ControlKind::DatePicker:
      if (QDate date = dateFromText(text); date.isValid()) {
        static_cast<QDateEdit*>(widget)->setDate(date);
      }
      break;
    case ControlKind::DriveList:
    case ControlKind::FolderList:
    case ControlKind::FileList:
      applyListText(bound, text);
      break;
    default:
      break;
  }
  updating_ = outer;
}

void FormWidget::applyValue(Bound& bound) {
  Control& control = *bound.control;
  const int value = control.value();
  const bool outer = updating_;
  updating_ = true;
  if (auto* check = qobject_cast<QCheckBox*>(bound.widget)) {
    check->setCheckState(value == 1   ? Qt::Checked
                         : value == 2 ? Qt::PartiallyChecked
                                      : Qt::Unchecked);
  } else if (auto* button = qobject_cast<QAbstractButton*>(bound.widget);
             button != nullptr && button->isCheckable()) {
    button->setChecked(value != 0);
  } else if (auto* bar = qobject_cast<QProgressBar*>(bound.widget)) {
    bar->setValue(std::clamp(value, 0, 100));
  }
  updating_ = outer;
}

void FormWidget::applyBackColour(Bound& bound) {
  Control& control = *bound.control;
  if (!control.style().hasBackColour) return;  // the platform's own background
  QWidget* widget = bound.widget;
  QPalette palette = widget->palette();
  const QColor colour = toQColor(control.backColour(), QApplication::palette());
  switch (control.kind()) {
    case ControlKind::TextBox:
    case ControlKind::DatePicker:
    case ControlKind::FolderList:
    case ControlKind::FileList:
      palette.setColor(QPalette::Base, colour);
      break;
    case ControlKind::CommandButton:
    case ControlKind::DriveList:
      palette.setColor(QPalette::Button, colour);
      break;
    case ControlKind::CheckBox:
      if (control.style().graphical) {
        palette.setColor(QPalette::Button, colour);
        break;
      }
      [[fallthrough]];
    default:
      palette.setColor(QPalette::Window, colour);
      // Check boxes and options fill with the button colour unless told otherwise.
      widget->setBackgroundRole(QPalette::Window);
      widget->setAutoFillBackground(true);
      break;
  }
  widget->setPalette(palette);
}

void FormWidget::applyPicture(Bound& bound) {
  const ControlKind kind = bound.control->kind();
  if (kind == ControlKind::CommandButton) {
    // A picture on a button is its icon, drawn at its own size where the button has room.
    auto* button = static_cast<QPushButton*>(bound.widget);
    const QPixmap pixmap = resourcePixmap(bound.control->picture());
    button->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    if (!pixmap.isNull()) button->setIconSize(pixmap.size().boundedTo(button->size()));
    return;
  }
  auto* label = qobject_cast<QLabel*>(bound.widget);
  if (label == nullptr || (kind != ControlKind::PictureBox && kind != ControlKind::Image)) return;
  QPixmap pixmap = resourcePixmap(bound.control->picture());
  if (!pixmap.isNull() && !label->size().isEmpty() &&
      (pixmap.width() > label->width() || pixmap.height() > label->height())) {
    pixmap = pixmap.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  if (pixmap.isNull()) {
    label->clear();
  } else {
    label->setPixmap(pixmap);
  }
}

void FormWidget::queueFocus() {
  if (focusQueued_) return;
  focusQueued_ = true;
  // Focus moves outside the focus events that asked for it.
  QTimer::singleShot(0, this, [this] {
    focusQueued_ = false;
    if (detached_) return;
    Control* focused = form_.focused();
    if (focused == nullptr) return;
    QWidget* widget = widgetFor(*focused);
    if (widget != nullptr && !widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
  });
}

// ---- view to model ----

void FormWidget::buttonClicked(Control& control) {
  if (detached_) return;
  Bound* pressed = boundFor(&control);
  // Without a mouse press before it the click came from the keys or a screen reader, and
  // the press rule has not run yet.
  if (control.reachable()) {
    if (pressed != nullptr && pressed->mousePressed) {
      userActivate(control);
    } else {
      userKeyActivate(control);
    }
  }
  // The model owns the tick: undo the widget's own toggle and show the model's.
  if (Bound* bound = boundFor(&control)) applyValue(*bound);
}

bool FormWidget::filterMouse(Bound& bound, QEvent* event) {
  Control& control = *bound.control;
  const ControlKind kind = control.kind();
  if (!control.reachable()) return false;
  const auto type = event->type();
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (kind == ControlKind::FileList) return fileListMouse(bound, mouse);
  if (type == QEvent::MouseButtonDblClick && control.onDoubleClick) {
    if (isButtonKind(kind)) userPress(control);
    runRule(control.onDoubleClick);
    return !isEntryKind(kind) && !isButtonKind(kind);
  }
  const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
  if (isEntryKind(kind)) {
    if (!press) return false;
    userPress(control);
    // A click into a box takes the focus, unless the focused box keeps it.
    return !userActivate(control);
  }
  if (isButtonKind(kind)) {
    if (press) {
      userPress(control);  // the click itself arrives as clicked(), during the release
      bound.mousePressed = true;
    } else if (type == QEvent::MouseButtonRelease) {
      QTimer::singleShot(0, this, [this, c = &control] {
        if (Bound* b = boundFor(c)) b->mousePressed = false;
      });
    }
    return false;
  }
  // Labels, pictures, frames: with no handler of their own the click is the form's.
  if (!control.onMouseDown && !control.onClick && !control.onDoubleClick) return false;
  if (press) {
    userPress(control);
    return true;
  }
  if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
      bound.widget->rect().contains(
          bound.widget->mapFromGlobal(mouse->globalPosition().toPoint()))) {
    userActivate(control);
    return true;
  }
  return false;
}

void FormWidget::focusLeft(Bound& bound, Qt::FocusReason reason) {
  if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
  Control& box = *bound.control;
  if (bound.textPending) applyText(bound);
  if (form_.focused() != &box) return;
  // Moving to another control of this form: that control takes the focus from the model.
  QWidget* next = QApplication::focusWidget();
  for (const QWidget* w = next; w != nullptr; w = w->parentWidget()) {
    if (auto it = watched_.find(w); it != watched_.end() && it->second != &box) return;
  }
  Control* leaving = &box;
  QTimer::singleShot(0, this, [this, leaving] {
    if (!detached_ && form_.focused() == leaving) userLeave(*leaving);
  });
}

void FormWidget::focusEntered(Bound& bound, Qt::FocusReason reason) {
  if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) return;
  Control* entering = bound.control;
  // Clicks give the model the focus themselves; Tab does it here, out of the focus event
  // because the focused box's rule may show a message box.
  QTimer::singleShot(0, this, [this, entering] {
    if (!detached_ && form_.focused() != entering && entering->reachable()) {
      form_.focus(*entering);
    }
  });
}

bool FormWidget::eventFilter(QObject* watched, QEvent* event) {
  if (detached_) return false;
  if (watched == canvas_) {
    if (event->type() == QEvent::MouseButtonRelease && form_.onClick) {
      runRule(form_.onClick);
      return true;
    }
    return false;
  }
  auto it = watched_.find(watched);
  if (it == watched_.end()) return false;
  Bound* bound = boundFor(it->second);
  if (bound == nullptr) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (bound->control->kind() == ControlKind::TextBox) {
        return filterKey(*bound, static_cast<QKeyEvent*>(event));
      }
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return filterMouse(*bound, event);
    case QEvent::FocusOut:
      if (watched == bound->widget) {
        focusLeft(*bound, static_cast<QFocusEvent*>(event)->reason());
      }
      return false;
    case QEvent::FocusIn:
      if (watched == bound->widget) {
        focusEntered(*bound, static_cast<QFocusEvent*>(event)->reason());
      }
      return false;
    case QEvent::Enter:
      // The pointer coming over a control is its first mouse move; rules use it to
      // refresh a tooltip before it shows.
      if (watched == bound->widget && bound->control->onMouseMove) {
        auto rule = bound->control->onMouseMove;
        const QPoint at = bound->widget->mapFromGlobal(QCursor::pos());
        rule(at.x() * 15, at.y() * 15);
      }
      return false;
    default:
      return false;
  }
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
  if (!detached_ && escapeCloses(event)) return;
  if (!detached_ && form_.onKeyPress) {
    runRule(form_.onKeyPress);
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace vantrel
