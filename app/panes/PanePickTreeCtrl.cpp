#include "app/panes/PanePickTreeCtrl.h"

#include <QHeaderView>

#include "app/lookup/panes.h"

CPanePickTreeCtrl::CPanePickTreeCtrl(QWidget* parent)
    : QTreeWidget(parent), root_(new QTreeWidgetItem(this, {QStringLiteral("Panes")})) {
  setObjectName("paneTree");
  setAccessibleName("Panes");
  setHeaderHidden(true);
  setColumnCount(1);
  // Qt's automatic three states are this tree's rules: a parent's state sets its children,
  // and the children's states give their parent's.
  root_->setFlags(root_->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
  for (int kind = 0; kind < lookup::kAnagramsPane; ++kind) {
    auto* item = new QTreeWidgetItem(root_, {QString::fromUtf8(lookup::PaneTitle(kind))});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren);
    item->setCheckState(0, Qt::Checked);
  }
  root_->setExpanded(true);
  scrollToItem(root_, QAbstractItemView::PositionAtTop);
  setCurrentItem(root_);
}

void CPanePickTreeCtrl::SetMask(uint32_t mask) {
  for (int kind = 0; kind < root_->childCount(); ++kind)
    root_->child(kind)->setCheckState(0, (mask >> kind) & 1u ? Qt::Checked : Qt::Unchecked);
}

uint32_t CPanePickTreeCtrl::ApplyTo(uint32_t mask) const {
  for (int kind = 0; kind < root_->childCount(); ++kind) {
    const uint32_t bit = 1u << kind;
    mask = root_->child(kind)->checkState(0) == Qt::Checked ? mask | bit : mask & ~bit;
  }
  return mask;
}

void CPanePickTreeCtrl::SetAllChecked(bool checked) {
  root_->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

QSize CPanePickTreeCtrl::sizeHint() const {
  const int rows = 1 + root_->childCount();
  return {QTreeWidget::sizeHint().width(), rows * sizeHintForRow(0) + 2 * frameWidth()};
}
