// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>
#include <vector>

class QFileSystemModel;

namespace vantrel {

// The subfolders or the files of one folder as a flat list, for the folder and file list
// controls. The file-system model underneath loads and watches the folder; this list adds
// what it lacks: a ".." row leading up (folders) and a filter for executable files.
class FolderEntries : public QAbstractListModel {
 public:
  enum class Show { Folders, Files };

  FolderEntries(Show show, QObject* parent = nullptr);

  // An empty or missing folder shows no rows.
  void setFolder(const QString& path);
  const QString& folder() const { return folder_; }
  // Files only: the names shown ("*.pcl"; empty: all), and whether only executables show.
  void setFileFilter(const QStringList& patterns, bool executablesOnly);

  // The absolute, cleaned path a row stands for (the parent folder for ".."), and its name.
  QString pathAt(int row) const;
  QString nameAt(int row) const;
  int rowOf(const QString& name) const;
  bool isUpRow(int row) const { return up_ && row == 0; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  QModelIndex sourceAt(int row) const;
  bool accepts(const QModelIndex& source) const;
  void sync();

  Show show_;
  QFileSystemModel* files_;
  QString folder_;
  QPersistentModelIndex root_;
  bool up_ = false;
  bool executablesOnly_ = false;
  std::vector<QPersistentModelIndex> entries_;
};

}  // namespace vantrel
