// SPDX-License-Identifier: GPL-3.0-or-later
// A window's menu bar and pop-up menus, made from its menu items.
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/user_input.h"

namespace vantrel {

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
      QAction* action = bar->addAction(keyedCaption(*top));
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
  auto* menu = new QMenu(keyedCaption(item), parent);
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
      action = menu->addAction(keyedCaption(*child));
      if (!child->shortcut.empty()) {
        // Written the same in every language ("Ctrl+S"), so read without the translations.
        action->setShortcut(QKeySequence(toQString(child->shortcut), QKeySequence::PortableText));
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
  if (!item.separator()) action->setText(keyedCaption(item));
  if (auto menu = menus_.find(&item); menu != menus_.end()) {
    menu->second->setTitle(keyedCaption(item));
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

}  // namespace vantrel
