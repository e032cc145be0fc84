// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/form_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QFrame>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include "platform/qt/folder_entries.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_printing.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

Qt::Alignment horizontal(Align align) {
  switch (align) {
    case Align::Centre:
      return Qt::AlignHCenter;
    case Align::Right:
      return Qt::AlignRight;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft;
}

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

// Fills a drive list with the mounted volumes, "/" first, keeping the chosen one. Item data
// is the root path; a bind mount of a single file is no place to choose.
void fillVolumes(QComboBox* combo) {
  const QString chosen = combo->currentData().toString();
  QSignalBlocker quiet(combo);
  combo->clear();
  QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
  std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
    return std::pair(!a.isRoot(), a.rootPath()) < std::pair(!b.isRoot(), b.rootPath());
  });
  std::set<QString> seen;
  for (const QStorageInfo& volume : volumes) {
    const QString root = volume.rootPath();
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir()) continue;
    if (!seen.insert(root).second) continue;
    const QString name = volume.name();
    combo->addItem(name.isEmpty() ? root : QStringLiteral("%1  [%2]").arg(root, name), root);
  }
  if (chosen.isEmpty()) return;
  if (combo->findData(chosen) < 0) combo->addItem(chosen, chosen);
  combo->setCurrentIndex(combo->findData(chosen));
}

// Volumes come and go (a memory stick): the list is read again each time it opens.
class VolumeList : public QComboBox {
 public:
  explicit VolumeList(QWidget* parent) : QComboBox(parent) { fillVolumes(this); }

  void showPopup() override {
    fillVolumes(this);
    QComboBox::showPopup();
  }
};

QListView* newFolderList(QWidget* parent, FolderEntries::Show show) {
  auto* list = new QListView(parent);
  list->setModel(new FolderEntries(show, list));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setUniformItemSizes(true);   // large folders lay out quickly
  list->setIconSize(QSize(16, 16));  // rows as tight as the window's small font
  return list;
}

FolderEntries* entriesOf(QWidget* list) {
  return static_cast<FolderEntries*>(static_cast<QListView*>(list)->model());
}

// "*.pcl;*.txt" as name filters; "*.*" means every file, as it does in file dialogs.
QStringList namePatterns(const std::string& pattern) {
  QStringList patterns;
  for (const QString& part : toQString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString trimmed = part.trimmed();
    if (!trimmed.isEmpty())
      patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
  }
  return patterns;
}

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
  while (built_ < controls.size()) build(*controls[built_++]);
  if (menusDirty_) rebuildMenus();
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
  QWidget* widget = create(control, parent);
  widget->setObjectName(toQString(control.name()));
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
    case ControlKind::TextBox: {
      if (control.style().multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        watch(edit->viewport(), control);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, c, edit] {
          if (!updating_ && !detached_) userEdited(*c, edit->toPlainText());
        });
        return edit;
      }
      auto* edit = new QLineEdit(parent);
      edit->setFrame(true);
      // What the box showed before the change (textEdited comes first, and textChanged
      // then carries the edited text even when the edit was taken back: read the box), so a
      // refused edit can be taken back whole, as the widget's undo, which merges a run of
      // typing, would not.
      auto before = std::make_shared<QString>();
      connect(edit, &QLineEdit::textChanged, this, [before, edit] { *before = edit->text(); });
      connect(edit, &QLineEdit::textEdited, this, [this, c, edit, before](const QString& text) {
        if (updating_ || detached_) return;
        if (userRefused(*c, text)) {
          const int cursor = edit->cursorPosition() - (text.size() - before->size());
          const QSignalBlocker quiet(edit);
          edit->setText(*before);
          edit->setCursorPosition(std::max(0, cursor));
          userRefuses(*c, screenToModelText(text));
          return;
        }
        userEdited(*c, text);
      });
      return edit;
    }
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
    case ControlKind::DriveList: {
      auto* combo = new VolumeList(parent);
      connect(combo, &QComboBox::activated, this, [this, c, combo](int index) {
        if (!updating_ && !detached_ && index >= 0) {
          userEdited(*c, combo->itemData(index).toString());
        }
      });
      return combo;
    }
    case ControlKind::FolderList: {
      QListView* list = newFolderList(parent, FolderEntries::Show::Folders);
      watch(list->viewport(), control);
      // Double-click or Enter opens a folder; a single click only points at it.
      connect(list, &QAbstractItemView::activated, this, [this, c, list](const QModelIndex& at) {
        if (!updating_ && !detached_) userEdited(*c, entriesOf(list)->pathAt(at.row()));
      });
      return list;
    }
    case ControlKind::FileList: {
      QListView* list = newFolderList(parent, FolderEntries::Show::Files);
      watch(list->viewport(), control);
      // The folder loads in the background: the chosen file is selected once it is listed.
      auto chosen = [this, c] {
        if (Bound* bound = boundFor(c); bound != nullptr && !detached_) showChosenFile(*bound);
      };
      connect(entriesOf(list), &QAbstractItemModel::layoutChanged, this, chosen);
      connect(entriesOf(list), &QAbstractItemModel::modelReset, this, chosen);
      // Mouse clicks are taken before the list sees them; what remains is the keyboard.
      connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
              [this, c, list] {
                if (updating_ || detached_) return;
                const QModelIndexList rows = list->selectionModel()->selectedRows();
                if (!rows.isEmpty()) fileChosenByKey(*c, entriesOf(list)->nameAt(rows[0].row()));
              });
      return list;
    }
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

QImage FormWidget::grabClientArea() {
  ensureBuilt();
  return canvas_->grab().toImage();
}

// ---- menus ----

void FormWidget::rebuildMenus() {
  menusDirty_ = false;
  for (auto& [item, menu] : menus_) {
    menu->disconnect(this);
    // Submenus go with their parent menu; a menu may be the one now emitting a signal.
    if (qobject_cast<QMenu*>(menu->parent()) == nullptr) menu->deleteLater();
  }
  if (hasMenuBar_) menuBar()->clear();
  actions_.clear();
  menus_.clear();
  const auto tops = form_.menuChildren(nullptr);
  if (tops.empty()) return;
  QMenuBar* bar = menuBar();
  hasMenuBar_ = true;
  for (MenuItem* top : tops) {
    if (!form_.menuChildren(top).empty()) {
      QMenu* menu = buildMenu(*top, this);
      bar->addMenu(menu);
      actions_[top] = menu->menuAction();
    } else {
      QAction* action = bar->addAction(toQString(top->text()));
      connect(action, &QAction::triggered, this, [this, top] {
        if (!detached_) userActivate(*top);
      });
      actions_[top] = action;
    }
    refreshAction(*top);
  }
  updateMenuBarVisibility();
}

QMenu* FormWidget::buildMenu(MenuItem& item, QWidget* parent) {
  auto* menu = new QMenu(toQString(item.text()), parent);
  menus_[&item] = menu;
  MenuItem* popup = &item;
  connect(menu, &QMenu::aboutToHide, this, [this, popup] {
    if (!detached_ && form_.poppedUp() == popup) form_.closePopup();
  });
  for (MenuItem* child : form_.menuChildren(&item)) {
    QAction* action = nullptr;
    if (child->separator()) {
      action = menu->addSeparator();
    } else if (!form_.menuChildren(child).empty()) {
      action = menu->addMenu(buildMenu(*child, menu));
    } else {
      action = menu->addAction(toQString(child->text()));
      if (!child->shortcut.empty()) {
        action->setShortcut(QKeySequence(toQString(child->shortcut)));
      }
      connect(action, &QAction::triggered, this, [this, child] {
        if (!detached_) userActivate(*child);
      });
    }
    actions_[child] = action;
    refreshAction(*child);
  }
  return menu;
}

void FormWidget::refreshAction(MenuItem& item) {
  auto it = actions_.find(&item);
  if (it == actions_.end()) return;
  QAction* action = it->second;
  if (!item.separator()) action->setText(toQString(item.text()));
  if (auto menu = menus_.find(&item); menu != menus_.end()) {
    menu->second->setTitle(toQString(item.text()));
  }
  action->setEnabled(item.enabled());
  action->setVisible(item.visible());
  if (!item.separator() && menus_.count(&item) == 0) {
    action->setCheckable(item.value() != 0 || action->isCheckable());
    action->setChecked(item.value() != 0);
  }
}

void FormWidget::updateMenuBarVisibility() {
  if (!hasMenuBar_) return;
  // Invisible top-level menus are pop-up menus: with nothing else, no bar at all.
  bool any = false;
  for (MenuItem* top : form_.menuChildren(nullptr)) any = any || top->visible();
  menuBar()->setVisible(any);
  applyFormSize();  // the bar's own height, whatever the desktop's font
}

void FormWidget::showPopup() {
  MenuItem* item = form_.poppedUp();
  if (item == nullptr) return;
  if (QMenu* menu = menuFor(*item)) menu->popup(QCursor::pos());
}

// ---- model to view ----

void FormWidget::formChanged(FormProperty property) {
  if (detached_) return;
  if (wanted_ || (property == FormProperty::Visible && form_.visible())) ensureBuilt();
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
  if (control.kind() == ControlKind::MenuItem) {
    refreshAction(static_cast<MenuItem&>(control));
    if (static_cast<MenuItem&>(control).parentMenu() == nullptr) updateMenuBarVisibility();
    return;
  }
  if (Bound* bound = boundFor(&control)) refresh(*bound, property);
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
      widget->setGeometry(twipsToPixels(g.left), twipsToPixels(g.top), twipsToPixels(g.width),
                          twipsToPixels(g.height));
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
  const QString text = modelToScreenText(control.text());
  const bool outer = updating_;
  updating_ = true;
  switch (control.kind()) {
    case ControlKind::TextBox:
      if (editing_ == &control) {
        // The user's own edit: the box keeps what was typed until the focus leaves.
        bound.textPending = true;
        break;
      }
      bound.textPending = false;
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text) {
          const int cursor = edit->cursorPosition();
          edit->setText(text);
          // A text put there by the program shows from its start, as a name or address
          // longer than its box should; the user's own box keeps the cursor where it was.
          edit->setCursorPosition(edit->hasFocus() ? std::min<int>(cursor, text.size()) : 0);
        }
      } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        if (edit->toPlainText() != text) {
          const int cursor = edit->textCursor().position();
          edit->setPlainText(text);
          QTextCursor moved = edit->textCursor();
          moved.setPosition(std::min<int>(cursor, text.size()));
          edit->setTextCursor(moved);
        }
      }
      break;
    case ControlKind::Label:
      static_cast<QLabel*>(widget)->setText(withoutMnemonic(text));
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::CommandButton:
      static_cast<QAbstractButton*>(widget)->setText(text);
      break;
    case ControlKind::Frame:
      static_cast<QGroupBox*>(widget)->setTitle(text);
      break;
    case ControlKind::DatePicker:
      if (QDate date = dateFromText(text); date.isValid()) {
        static_cast<QDateEdit*>(widget)->setDate(date);
      }
      break;
    case ControlKind::DriveList: {
      auto* combo = static_cast<QComboBox*>(widget);
      // A volume mounted since the list was read, or a path that is no volume at all, still
      // shows as the choice.
      if (!text.isEmpty() && combo->findData(text) < 0) combo->addItem(text, text);
      combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findData(text));
      break;
    }
    case ControlKind::FolderList: {
      FolderEntries* entries = entriesOf(widget);
      const QString before = entries->folder();
      entries->setFolder(text);
      if (entries->folder() != before) static_cast<QListView*>(widget)->scrollToTop();
      break;
    }
    case ControlKind::FileList:
      showChosenFile(bound);
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

void FormWidget::applyStyle(Bound& bound) {
  const Style& style = bound.control->style();
  QWidget* widget = bound.widget;
  QFont font = widget->font();
  if (!style.fontName.empty()) {
    font = printFont(PrintFont{.name = style.fontName, .points = font.pointSizeF()});
  }
  if (style.fontPoints > 0) font.setPointSizeF(style.fontPoints);
  font.setBold(style.bold);
  widget->setFont(font);
  bound.font = font;
  const Qt::Alignment align = horizontal(style.align);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    // Bare text lines up with the labels beside it, which sit at the top of their boxes.
    edit->setAlignment(align | (style.borderless ? Qt::AlignTop : Qt::AlignVCenter));
    edit->setReadOnly(style.readOnly);
    edit->setFrame(!style.borderless);
    // A box the user cannot change is no stop for Tab, nor where a window's focus starts.
    if (style.readOnly) edit->setFocusPolicy(Qt::ClickFocus);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->setReadOnly(style.readOnly);
  } else if (auto* label = qobject_cast<QLabel*>(widget);
             label != nullptr && bound.control->kind() == ControlKind::Label) {
    label->setAlignment(align | Qt::AlignTop);
  }
  if (style.foreColour != colour::black) {
    QPalette palette = widget->palette();
    const QColor colour = toQColor(style.foreColour, QApplication::palette());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
      palette.setColor(role, colour);
    }
    widget->setPalette(palette);
  }
}

void FormWidget::fitText(Bound& bound) {
  if (!bound.control->style().shrinkToFit) return;
  const QString text = modelToScreenText(bound.control->text());
  constexpr double kSmallest = 6;
  int margins = 4;
  if (auto* edit = qobject_cast<QLineEdit*>(bound.widget); edit != nullptr && edit->hasFrame()) {
    // The frame on both sides, and the box's own text margins inside it.
    margins = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) + 6;
  }
  QFont font = bound.font;
  const double wide = QFontMetricsF(font).horizontalAdvance(text);
  const double room = bound.widget->width() - margins;
  if (wide > room && room > 0) {
    font.setPointSizeF(std::max(kSmallest, font.pointSizeF() * room / wide));
  }
  bound.widget->setFont(font);
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

void FormWidget::applyFolder(Bound& bound) {
  if (bound.control->kind() != ControlKind::FileList) return;
  const Style& style = bound.control->style();
  FolderEntries* entries = entriesOf(bound.widget);
  entries->setFileFilter(namePatterns(style.pattern), style.executablesOnly);
  entries->setFolder(toQString(bound.control->folder()));
  showChosenFile(bound);
}

void FormWidget::showChosenFile(Bound& bound) {
  auto* list = static_cast<QListView*>(bound.widget);
  QItemSelectionModel* selection = list->selectionModel();
  const int row = entriesOf(list)->rowOf(toQString(bound.control->text()));
  const bool outer = updating_;
  updating_ = true;
  if (row < 0) {
    if (selection->hasSelection() || selection->currentIndex().isValid()) selection->clear();
  } else if (const QModelIndex at = list->model()->index(row, 0);
             !selection->isSelected(at) || selection->currentIndex() != at) {
    selection->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(at);
  }
  updating_ = outer;
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

// A one-line box's edit that its control refuses: refused as a key filter refuses a letter.
bool FormWidget::userRefused(Control& box, const QString& text) const {
  return box.refuses && !box.refuses(screenToModelText(text)).empty();
}

void FormWidget::userEdited(Control& box, const QString& text) {
  Bound* bound = boundFor(&box);
  if (bound == nullptr) return;
  if (!form_.focus(box)) {
    // Another box kept the focus: the edit did not happen.
    applyText(*bound);
    return;
  }
  Control* outer = editing_;
  editing_ = &box;
  if (box.kind() == ControlKind::TextBox) {
    setField(box, screenToModelText(text));
  } else {
    setField(box, fromQString(text));
  }
  editing_ = outer;
  if (box.kind() == ControlKind::TextBox) {
    bound->textPending = screenText(*bound) != modelToScreenText(box.text());
  }
}

void FormWidget::buttonClicked(Control& control) {
  if (detached_) return;
  if (control.reachable()) userActivate(control);
  // The model owns the tick: undo the widget's own toggle and show the model's.
  if (Bound* bound = boundFor(&control)) applyValue(*bound);
}

bool FormWidget::filterKey(Bound& bound, QKeyEvent* event) {
  Control& box = *bound.control;
  if (event->matches(QKeySequence::Paste)) return false;  // a paste is written unfiltered
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  const QString text = event->text();
  QString keys;
  if (event->key() == Qt::Key_Backspace) {
    keys = QStringLiteral("\b");
  } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    keys = QStringLiteral("\r");
  } else if (!command && !text.isEmpty() && text[0] >= QLatin1Char(' ') && text[0] != QChar(0x7F)) {
    keys = text;
  } else {
    return false;  // cursor keys, Tab, shortcuts: Qt's own
  }
  if (!box.reachable()) return true;
  if (!form_.focus(box)) return true;  // another box kept the focus
  if (box.onKeyPress) {
    auto filter = box.onKeyPress;
    for (QChar ch : keys) {
      if (!filter(keyCharFor(QString(ch)))) return true;
    }
  }
  // Enter adds nothing to a one-line box.
  if (keys == QStringLiteral("\r") && !box.style().multiLine) return true;
  return false;  // the widget edits; the new text reaches the model through userEdited
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
    if (press) userPress(control);  // the click itself arrives as clicked()
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

// A click on a file chooses it, as a user edit, and then reaches the model as a click, so
// the click rule sees the new name. The list itself never sees the click: what it shows
// selected is what the model chose.
bool FormWidget::fileListMouse(Bound& bound, QMouseEvent* event) {
  Control& control = *bound.control;
  const auto type = event->type();
  if (type == QEvent::MouseButtonDblClick && control.onDoubleClick) {
    runRule(control.onDoubleClick);
    return true;
  }
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return false;
  if (!form_.focus(control)) return true;  // another box kept the focus
  auto* list = static_cast<QListView*>(bound.widget);
  const QModelIndex at = list->indexAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || !at.isValid()) {
    userPress(control);
    return true;
  }
  userEdited(control, entriesOf(list)->nameAt(at.row()));
  if (form_.focused() == &control) userClick(control);
  return true;
}

void FormWidget::fileChosenByKey(Control& list, const QString& name) {
  if (name.isEmpty() || fromQString(name) == list.text()) return;
  userEdited(list, name);
  // The keyboard gives the click alone, without a mouse press.
  if (form_.focused() == &list) userActivate(list);
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
  if (!detached_ && form_.onKeyPress) {
    runRule(form_.onKeyPress);
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace vantrel
