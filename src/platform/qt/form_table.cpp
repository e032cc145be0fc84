// SPDX-License-Identifier: GPL-3.0-or-later
// Tables: one list view over the model's rows, which it asks for only as they come into
// sight, so a log of years scrolls as lightly as a short one.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"

namespace vantrel {
namespace {

class TableModel : public QAbstractTableModel {
 public:
  TableModel(Table& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        return toQString(table_.text(row, column));
      case Qt::TextAlignmentRole: {
        const Align align = table_.columns[column].align;
        const Qt::Alignment horizontal = align == Align::Right    ? Qt::AlignRight
                                         : align == Align::Centre ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
      }
      case Qt::FontRole:
        if (table_.emphasised && table_.emphasised(row)) {
          QFont bold;
          bold.setBold(true);
          return bold;
        }
        return {};
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        static_cast<std::size_t>(section) >= table_.columns.size()) {
      return {};
    }
    return toQString(table_.columns[static_cast<std::size_t>(section)].title);
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && table_.columns[static_cast<std::size_t>(index.column())].editable &&
        table_.edit && table_.enabled()) {
      flags |= Qt::ItemIsEditable;
    }
    return flags;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole || !index.isValid() || !table_.edit) return false;
    const std::string why =
        table_.edit(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column()),
                    fromQString(value.toString()));
    return why.empty();
  }

  void reset() {
    beginResetModel();
    endResetModel();
  }
  void cellsChanged() {
    const int rows = rowCount({});
    const int columns = columnCount({});
    if (rows > 0 && columns > 0) emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
  }

 private:
  Table& table_;
};

TableModel* modelOf(QWidget* widget) {
  auto* view = qobject_cast<QTableView*>(widget);
  return view == nullptr ? nullptr : static_cast<TableModel*>(view->model());
}

}  // namespace

QWidget* FormWidget::createTable(Control& control, QWidget* parent) {
  auto& table = static_cast<Table&>(control);
  auto* view = new QTableView(parent);
  auto* model = new TableModel(table, view);
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
  view->setTabKeyNavigation(false);  // Tab leaves the table for the next control
  view->setWordWrap(false);
  view->setAlternatingRowColors(true);
  view->verticalHeader()->hide();
  // Rows of one height and columns of set widths: nothing is measured row by row.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view->horizontalHeader()->setStretchLastSection(true);
  view->horizontalHeader()->setHighlightSections(false);
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    view->setColumnWidth(static_cast<int>(i), twipsToPixels(table.columns[i].width));
  }
  connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, &table](const QModelIndex& current) {
            if (updating_ || detached_) return;
            table.setCurrent(current.isValid() ? std::optional<std::size_t>(current.row())
                                               : std::nullopt);
          });
  return view;
}

void FormWidget::applyTable(Bound& bound, Property property) {
  auto& table = static_cast<Table&>(*bound.control);
  auto* view = qobject_cast<QTableView*>(bound.widget);
  TableModel* model = modelOf(bound.widget);
  if (view == nullptr || model == nullptr) return;
  const bool outer = updating_;
  updating_ = true;
  if (property == Property::Rows) model->reset();
  if (property == Property::Cells) model->cellsChanged();
  if (property == Property::Rows || property == Property::Current) {
    if (const auto row = table.current()) {
      // The column the user is in stays: a note typed next goes where they are.
      const int column = std::max(0, view->currentIndex().column());
      const QModelIndex index = model->index(static_cast<int>(*row), column);
      if (view->currentIndex() != index) {
        view->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(index);
      }
    } else {
      view->selectionModel()->clearSelection();
    }
  }
  updating_ = outer;
}

}  // namespace vantrel
