// The Custom Database dialog's list of entries: a report list with grid lines and whole-row
// selection whose columns share its width 40 %, 20 % and 40 %. Enter does nothing here, so it
// never closes the dialog by accident; a double click asks for the row to be edited.
#pragma once

#include <QTableView>

class CEntryListCtrl : public QTableView {
  Q_OBJECT

 public:
  explicit CEntryListCtrl(QWidget* parent = nullptr);

  // The selected rows in list order.
  QList<int> SelectedRows() const;

 signals:
  void EditRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void FitColumns();
};
