// The rows and columns behind CReportCtrl: defined columns (caption, width, alignment), rows of
// cells, a palette of colours that cells refer to by index, and the sort by one column.
//
// Each cell holds a text and three optional properties: a check box state, a text colour and
// a background colour (palette indexes). -1 means "not set": a cell without a check state has
// no check box, a cell without colours takes the view's. Each row carries one number of its
// owner's (`data`), which survives sorting, so the owner finds its own record for a row.
//
// Defining a column inserts an empty cell at that position in every row. Reading a cell that
// a row does not have gives an empty cell. Rows are replaced as a whole (ReplaceRows): a
// replacement with the same texts in the same order only updates the properties (no reset, so
// the view keeps its scroll position, selection and focus row); anything else resets.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <vector>

struct ReportColumn {
  QString caption;
  int width = 80;  // pixels
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
  QString spoken_caption = {};  // what a screen reader says for the header, when not the caption
};

struct ReportCell {
  QString text;
  int check = -1;              // -1 no check box, 0 unchecked, 1 checked
  int text_colour = -1;        // palette index, -1 for the view's text colour
  int background_colour = -1;  // palette index, -1 for the view's background
};

struct ReportRow {
  std::vector<ReportCell> cells;  // one per defined column (missing ones read as empty)
  qint64 data = 0;                // the owner's number for the row
};

class ReportModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ReportModel(QObject* parent = nullptr);

  // Columns. DefineColumn inserts at `index` (clamped to 0..ColumnCount()) and returns the
  // index it used.
  int DefineColumn(int index, const ReportColumn& column);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const ReportColumn& Column(int column) const { return columns_.at(column); }

  // Palette: puts `colour` at `index` (the list grows as needed). Returns the index, or -1 for
  // a negative index or an invalid colour.
  int AddColour(int index, const QColor& colour);
  QColor Colour(int index) const;  // invalid when the index holds none

  // Rows.
  int RowCount() const { return static_cast<int>(rows_.size()); }
  void ReplaceRows(std::vector<ReportRow> rows);
  int InsertRow(int row, ReportRow values);  // returns the row it went to
  void DeleteAllRows();
  ReportCell Cell(int row, int column) const;
  void SetCell(int row, int column, const ReportCell& cell);
  qint64 RowData(int row) const;
  int RowOfData(qint64 data) const;  // -1 when no row carries it

  // Check boxes. SetChecked changes only cells that have a check box; every change that a
  // user makes through setData is announced by CheckToggled (programmatic ones are not).
  bool IsChecked(int row, int column) const;
  void SetChecked(int row, int column, bool checked);

  // Sort: a stable sort of the rows by a column's cells: check state for a check-box column,
  // numbers by value when both texts are numbers, otherwise text without regard to case.
  // A column of -1 leaves the order as it is.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
  int SortColumn() const { return sort_column_; }
  Qt::SortOrder SortOrder() const { return sort_order_; }

  // QAbstractItemModel
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 signals:
  // A user click (or Space) turned the check box of (row, column).
  void CheckToggled(int row, int column, bool checked);

 private:
  const ReportCell* CellAt(int row, int column) const;
  void SortRows(std::vector<ReportRow>* rows) const;

  std::vector<ReportColumn> columns_;
  std::vector<ReportRow> rows_;
  std::vector<QColor> palette_;
  int sort_column_ = -1;
  Qt::SortOrder sort_order_ = Qt::AscendingOrder;
};
