// CReportCtrl: the program's multi-column list. A header of columns above rows of cells (the
// rows live in its ReportModel), check boxes in cells, sorting by a header click, a palette
// that cells refer to, a tooltip with the whole text of a cut-off cell, and a column layout
// the owner loads from and saves to the settings file.
//
// Defined and active columns: every column of the model is defined; the active ones are the
// columns the header shows, in display order. The user moves columns by dragging the header,
// and shows or hides captioned columns from the header's right-click menu.
//
// Header click: the direction is the opposite of the current one when the clicked column is
// already the sort column, and ascending otherwise. HeaderClicked is emitted first; a slot
// that calls SetSortingEnabled(false) (or a control made so) keeps the order.
//
// Wheel: one notch scrolls the desktop's number of lines (QApplication::wheelScrollLines(),
// 3 unless the desktop says otherwise), a line being one row.
#pragma once

#include <QString>
#include <QTreeView>

#include "ui/ReportModel.h"

class CReportCtrl : public QTreeView {
  Q_OBJECT

 public:
  explicit CReportCtrl(QWidget* parent = nullptr);
  ~CReportCtrl() override;

  ReportModel* Model() const { return model_; }

  // Defines a column (ReportModel::DefineColumn) and gives the header its width.
  int DefineColumn(int index, const ReportColumn& column);
  // Shows defined column `column` at display position `position` (clamped to the shown ones).
  void ActivateColumn(int column, int position);
  void DeactivateColumn(int column);
  // The active columns in display order.
  std::vector<int> ActiveColumns() const;
  // A column that takes the width the others leave (-1 for none; the last one then stretches).
  void SetStretchColumn(int column);

  int AddColour(int index, const QColor& colour) { return model_->AddColour(index, colour); }

  // Column layout text: the active columns in display order with their widths, "2:466,0:18".
  QString ColumnLayout() const;
  // Applies a layout text; false (and nothing changed) when it is not one for these columns.
  bool SetColumnLayout(const QString& layout);
  // Reads the layout from the settings file (group `section`, key `entry`) and applies it;
  // false when there is none or it does not fit, and the owner then activates its columns
  // itself. The layout is written back there by SaveColumnLayout and when the control is
  // destroyed after the user changed it.
  bool LoadColumnLayout(const QString& section, const QString& entry);
  void SaveColumnLayout();

  // The row height: the font's line height (height plus leading), at least what a check box
  // needs. Follows setFont.
  int RowHeight() const { return row_height_; }

  void SetSortingEnabled(bool on) { sorting_enabled_ = on; }
  bool SortingEnabled() const { return sorting_enabled_; }

  // The rows the selection covers, in model order.
  std::vector<int> SelectedRows() const;
  // The focus row, -1 when none.
  int FocusRow() const;

 signals:
  void HeaderClicked(int column);
  void Sorted(int column, Qt::SortOrder order);
  // Check box of a row's cell turned by the user (mouse or Space); `data` is the row's data.
  void CellCheckToggled(int row, int column, bool checked, qint64 data);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

  // The text a cell shows; a subclass that draws a cell itself says what it draws, for the
  // tooltip of a cut-off cell.
  virtual QString CellText(const QModelIndex& index) const;
  // The width a cell's text needs in the current font.
  virtual int CellTextWidth(const QModelIndex& index) const;

 private:
  void OnHeaderClicked(int column);
  void ShowHeaderMenu(const QPoint& pos);
  void UpdateRowHeight();
  void ToggleChecksOfSelection();

  ReportModel* model_;
  int row_height_ = 0;
  int stretch_column_ = -1;
  bool sorting_enabled_ = true;
  QString layout_section_;
  QString layout_entry_;
  bool layout_dirty_ = false;
  bool applying_layout_ = false;
};
