// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/folder_entries.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIcon>
#include <QStyle>
#include <algorithm>

namespace vantrel {

FolderEntries::FolderEntries(Show show, QObject* parent)
    : QAbstractListModel(parent), show_(show), files_(new QFileSystemModel(this)) {
  // Hidden entries stay hidden, as in the system's own file windows. The file-system model's
  // own ".." row is not relied on: not every Qt version lists one.
  files_->setFilter((show == Show::Folders ? QDir::AllDirs : QDir::Files) | QDir::NoDotAndDotDot);
  files_->setNameFilterDisables(false);  // a name that does not match is not listed at all
  // The folder loads and changes in the background; every change under it is looked at anew.
  auto under = [this](const QModelIndex& parent) {
    if (root_.isValid() && parent == root_) sync();
  };
  connect(files_, &QAbstractItemModel::rowsInserted, this, under);
  connect(files_, &QAbstractItemModel::rowsRemoved, this, under);
  connect(files_, &QAbstractItemModel::dataChanged, this,
          [under](const QModelIndex& first) { under(first.parent()); });
  connect(files_, &QAbstractItemModel::layoutChanged, this, [this] { sync(); });
  connect(files_, &QAbstractItemModel::modelReset, this, [this] {
    root_ = folder_.isEmpty() ? QModelIndex() : files_->index(folder_);
    sync();
  });
}

void FolderEntries::setFolder(const QString& path) {
  const QString clean = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
  // A folder that was missing may exist now: asking again looks again.
  if (clean == folder_ && (root_.isValid() || clean.isEmpty())) return;
  beginResetModel();
  folder_ = clean;
  entries_.clear();
  root_ = QModelIndex();
  up_ = show_ == Show::Folders && !folder_.isEmpty() && !QDir(folder_).isRoot();
  if (!folder_.isEmpty() && QFileInfo(folder_).isDir()) {
    root_ = files_->setRootPath(folder_);
    for (int row = 0, n = files_->rowCount(root_); row < n; ++row) {
      const QModelIndex source = files_->index(row, 0, root_);
      if (accepts(source)) entries_.emplace_back(source);
    }
  }
  endResetModel();
}

void FolderEntries::setFileFilter(const QStringList& patterns, bool executablesOnly) {
  const QStringList filters = patterns.contains(QStringLiteral("*")) ? QStringList() : patterns;
  if (files_->nameFilters() != filters) files_->setNameFilters(filters);
  if (executablesOnly_ != executablesOnly) {
    executablesOnly_ = executablesOnly;
    sync();
  }
}

bool FolderEntries::accepts(const QModelIndex& source) const {
  if (show_ != Show::Files || !executablesOnly_) return true;
  const QFileInfo info = files_->fileInfo(source);
  return info.isFile() && info.isExecutable();
}

QModelIndex FolderEntries::sourceAt(int row) const {
  const int at = row - (up_ ? 1 : 0);
  if (at < 0 || at >= static_cast<int>(entries_.size())) return {};
  return entries_[at];
}

QString FolderEntries::pathAt(int row) const {
  if (isUpRow(row)) return QDir::cleanPath(folder_ + QStringLiteral("/.."));
  const QModelIndex source = sourceAt(row);
  return source.isValid() ? QDir::cleanPath(files_->filePath(source)) : QString();
}

QString FolderEntries::nameAt(int row) const {
  if (isUpRow(row)) return QStringLiteral("..");
  const QModelIndex source = sourceAt(row);
  return source.isValid() ? files_->fileName(source) : QString();
}

int FolderEntries::rowOf(const QString& name) const {
  if (name.isEmpty()) return -1;
  for (int row = up_ ? 1 : 0, n = rowCount(); row < n; ++row) {
    if (nameAt(row) == name) return row;
  }
  return -1;
}

int FolderEntries::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(entries_.size()) + (up_ ? 1 : 0);
}

QVariant FolderEntries::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::DecorationRole) return {};
  if (isUpRow(index.row())) {
    if (role == Qt::DisplayRole) return QStringLiteral("..");
    return QApplication::style()->standardIcon(QStyle::SP_FileDialogToParent);
  }
  const QModelIndex source = sourceAt(index.row());
  if (!source.isValid()) return {};
  QVariant value = source.data(role);
  // Without an icon theme the system gives no folder icon; the ".." row has one all the same.
  if (role == Qt::DecorationRole && show_ == Show::Folders && value.value<QIcon>().isNull()) {
    return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  }
  return value;
}

void FolderEntries::sync() {
  std::vector<QPersistentModelIndex> next;
  if (root_.isValid()) {
    for (int row = 0, n = files_->rowCount(root_); row < n; ++row) {
      const QModelIndex source = files_->index(row, 0, root_);
      if (accepts(source)) next.emplace_back(source);
    }
  }
  const int lead = up_ ? 1 : 0;
  if (next == entries_) {
    if (!entries_.empty()) emit dataChanged(index(lead), index(rowCount() - 1));
    return;
  }
  // Rows come, go and are sorted in one step; the views' current and selected rows follow
  // their files, as after a sort.
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  std::vector<QPersistentModelIndex> old;
  old.reserve(before.size());
  for (const QModelIndex& i : before) old.emplace_back(sourceAt(i.row()));
  entries_ = std::move(next);
  QModelIndexList after;
  for (int k = 0; k < before.size(); ++k) {
    if (isUpRow(before[k].row())) {
      after.push_back(index(0));
      continue;
    }
    auto it = std::find(entries_.begin(), entries_.end(), old[k]);
    after.push_back(it == entries_.end() || !old[k].isValid()
                        ? QModelIndex()
                        : index(lead + static_cast<int>(it - entries_.begin())));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

}  // namespace vantrel
