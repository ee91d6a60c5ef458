// CPanePickTreeCtrl: the tree of the "Panes" page: a root "Panes" with one child per relation
// pane (kinds 0 to 21, titled as their tabs), each with a check box. Checking or unchecking an
// item sets all its children the same; a parent is checked when all its children are, unchecked
// when none is, and partly checked otherwise. A click on a partly checked item checks it.
#pragma once

#include <QTreeWidget>
#include <cstdint>

class CPanePickTreeCtrl : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CPanePickTreeCtrl(QWidget* parent = nullptr);

  QTreeWidgetItem* Root() const { return root_; }
  // Checks pane k when bit k of `mask` is set (k = 0 to 21).
  void SetMask(uint32_t mask);
  // `mask` with bits 0 to 21 set for the checked panes and cleared for the others; bits 22 to
  // 31 are kept.
  uint32_t ApplyTo(uint32_t mask) const;
  void SetAllChecked(bool checked);

  // Tall enough for every item, so the page opens without a scroll bar.
  QSize sizeHint() const override;

 private:
  QTreeWidgetItem* root_;
};
