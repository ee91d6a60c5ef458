#include "ui/ReportModel.h"

#include <algorithm>

namespace {

// Compares two cells of a sort column: check states, numbers by value, else text.
int CompareCells(const ReportCell& a, const ReportCell& b) {
  if (a.check != b.check) return a.check < b.check ? -1 : 1;
  bool a_number = false;
  bool b_number = false;
  const qlonglong a_value = a.text.trimmed().toLongLong(&a_number);
  const qlonglong b_value = b.text.trimmed().toLongLong(&b_number);
  if (a_number && b_number) return a_value < b_value ? -1 : (a_value > b_value ? 1 : 0);
  return a.text.compare(b.text, Qt::CaseInsensitive);
}

bool SameTexts(const std::vector<ReportRow>& a, const std::vector<ReportRow>& b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [](const ReportRow& x, const ReportRow& y) {
        return x.data == y.data &&
               std::equal(
                   x.cells.begin(), x.cells.end(), y.cells.begin(), y.cells.end(),
                   [](const ReportCell& c, const ReportCell& d) { return c.text == d.text; });
      });
}

}  // namespace

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

int ReportModel::DefineColumn(int index, const ReportColumn& column) {
  index = std::clamp(index, 0, ColumnCount());
  beginInsertColumns(QModelIndex(), index, index);
  columns_.insert(columns_.begin() + index, column);
  for (ReportRow& row : rows_) {
    if (static_cast<int>(row.cells.size()) >= index)
      row.cells.insert(row.cells.begin() + index, ReportCell());
  }
  if (sort_column_ >= index) ++sort_column_;
  endInsertColumns();
  return index;
}

int ReportModel::AddColour(int index, const QColor& colour) {
  if (index < 0 || !colour.isValid()) return -1;
  if (index >= static_cast<int>(palette_.size())) palette_.resize(index + 1);
  palette_[index] = colour;
  return index;
}

QColor ReportModel::Colour(int index) const {
  return index >= 0 && index < static_cast<int>(palette_.size()) ? palette_[index] : QColor();
}

void ReportModel::ReplaceRows(std::vector<ReportRow> rows) {
  SortRows(&rows);
  if (!rows_.empty() && SameTexts(rows_, rows)) {
    rows_ = std::move(rows);
    emit dataChanged(index(0, 0), index(RowCount() - 1, ColumnCount() - 1));
    return;
  }
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int ReportModel::InsertRow(int row, ReportRow values) {
  row = std::clamp(row, 0, RowCount());
  beginInsertRows(QModelIndex(), row, row);
  rows_.insert(rows_.begin() + row, std::move(values));
  endInsertRows();
  return row;
}

void ReportModel::DeleteAllRows() {
  if (rows_.empty()) return;
  beginResetModel();
  rows_.clear();
  endResetModel();
}

const ReportCell* ReportModel::CellAt(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0) return nullptr;
  const std::vector<ReportCell>& cells = rows_[row].cells;
  return column < static_cast<int>(cells.size()) ? &cells[column] : nullptr;
}

ReportCell ReportModel::Cell(int row, int column) const {
  const ReportCell* cell = CellAt(row, column);
  return cell != nullptr ? *cell : ReportCell();
}

void ReportModel::SetCell(int row, int column, const ReportCell& cell) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  std::vector<ReportCell>& cells = rows_[row].cells;
  if (column >= static_cast<int>(cells.size())) cells.resize(column + 1);
  cells[column] = cell;
  emit dataChanged(index(row, column), index(row, column));
}

qint64 ReportModel::RowData(int row) const {
  return row >= 0 && row < RowCount() ? rows_[row].data : 0;
}

int ReportModel::RowOfData(qint64 data) const {
  for (int row = 0; row < RowCount(); ++row) {
    if (rows_[row].data == data) return row;
  }
  return -1;
}

bool ReportModel::IsChecked(int row, int column) const {
  const ReportCell* cell = CellAt(row, column);
  return cell != nullptr && cell->check > 0;
}

void ReportModel::SetChecked(int row, int column, bool checked) {
  const ReportCell* cell = CellAt(row, column);
  if (cell == nullptr || cell->check < 0 || (cell->check > 0) == checked) return;
  rows_[row].cells[column].check = checked ? 1 : 0;
  emit dataChanged(index(row, column), index(row, column), {Qt::CheckStateRole});
}

void ReportModel::SortRows(std::vector<ReportRow>* rows) const {
  if (sort_column_ < 0) return;
  const int column = sort_column_;
  const bool descending = sort_order_ == Qt::DescendingOrder;
  auto cell = [column](const ReportRow& row) {
    return column < static_cast<int>(row.cells.size()) ? row.cells[column] : ReportCell();
  };
  std::stable_sort(rows->begin(), rows->end(), [&](const ReportRow& a, const ReportRow& b) {
    const int order = CompareCells(cell(a), cell(b));
    return descending ? order > 0 : order < 0;
  });
}

void ReportModel::sort(int column, Qt::SortOrder order) {
  if (column >= ColumnCount()) return;
  sort_column_ = column;
  sort_order_ = order;
  if (column < 0) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<qint64> data_before;
  for (const QModelIndex& i : before)
    data_before.push_back(RowData(i.row()));
  SortRows(&rows_);
  // Rows carry distinct data for owners that track them (the senses); persistent indexes
  // follow their row through that, and stay put otherwise.
  QModelIndexList after;
  for (size_t k = 0; k < static_cast<size_t>(before.size()); ++k) {
    const int row = RowOfData(data_before[k]);
    after.push_back(row >= 0 ? index(row, before[k].column()) : before[k]);
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int ReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount();
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return {};
  const ReportCell* cell = CellAt(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return cell != nullptr ? cell->text : QString();
    case Qt::CheckStateRole:
      if (cell == nullptr || cell->check < 0) return {};
      return cell->check > 0 ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole: {
      const QColor colour = Colour(cell != nullptr ? cell->text_colour : -1);
      return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::BackgroundRole: {
      const QColor colour = Colour(cell != nullptr ? cell->background_colour : -1);
      return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columns_[index.column()].alignment);
    default:
      return {};
  }
}

bool ReportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole ||
      !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return false;
  const ReportCell* cell = CellAt(index.row(), index.column());
  if (cell == nullptr || cell->check < 0) return false;
  const bool checked = value.value<Qt::CheckState>() != Qt::Unchecked;
  if ((cell->check > 0) == checked) return true;
  rows_[index.row()].cells[index.column()].check = checked ? 1 : 0;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  emit CheckToggled(index.row(), index.column(), checked);
  return true;
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  const ReportCell* cell = CellAt(index.row(), index.column());
  if (cell != nullptr && cell->check >= 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) return {};
  if (role == Qt::DisplayRole) return columns_[section].caption;
  if (role == Qt::AccessibleTextRole) {
    const ReportColumn& column = columns_[section];
    return column.spoken_caption.isEmpty() ? column.caption : column.spoken_caption;
  }
  if (role == Qt::InitialSortOrderRole) return Qt::AscendingOrder;
  return {};
}
