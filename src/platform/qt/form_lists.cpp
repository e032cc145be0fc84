// SPDX-License-Identifier: GPL-3.0-or-later
// Drive, folder and file lists: what they show and how a choice in them reaches the model.
#include <QComboBox>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>
#include <set>
#include <utility>

#include "platform/qt/folder_entries.h"
#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

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

QWidget* FormWidget::createList(Control& control, QWidget* parent) {
  Control* c = &control;
  switch (control.kind()) {
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
    default:
      return nullptr;
  }
}

void FormWidget::applyListText(Bound& bound, const QString& text) {
  QWidget* widget = bound.widget;
  switch (bound.control->kind()) {
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

}  // namespace vantrel
