#include "app/custom/EntryListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

CEntryListCtrl::CEntryListCtrl(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() * 3 / 2);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
}

QList<int> CEntryListCtrl::SelectedRows() const {
  QList<int> rows;
  if (selectionModel() == nullptr) return rows;
  for (const QModelIndex& index : selectionModel()->selectedRows())
    rows.append(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CEntryListCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void CEntryListCtrl::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns();
}

void CEntryListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (indexAt(event->position().toPoint()).isValid()) emit EditRequested();
}

void CEntryListCtrl::FitColumns() {
  if (model() == nullptr || model()->columnCount() < 3) return;
  const int width = viewport()->width();
  setColumnWidth(0, width * 2 / 5);
  setColumnWidth(1, width / 5);
  setColumnWidth(2, width - width * 2 / 5 - width / 5);
}
