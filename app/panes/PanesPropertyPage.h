// CPanesPropertyPage: the "Panes" page of the "Options" sheet: the pane tree (CPanePickTreeCtrl)
// and the buttons "&All" and "&None". The sheet reads Mask() on OK: the mask it was given with
// bits 0 to 21 as the tree shows them and bits 22 to 31 unchanged.
#pragma once

#include <QWidget>
#include <cstdint>

class CPanePickTreeCtrl;

class CPanesPropertyPage : public QWidget {
  Q_OBJECT

 public:
  explicit CPanesPropertyPage(uint32_t mask, QWidget* parent = nullptr);

  uint32_t Mask() const;
  CPanePickTreeCtrl* Tree() const { return tree_; }

 private:
  uint32_t mask_;
  CPanePickTreeCtrl* tree_;
};
