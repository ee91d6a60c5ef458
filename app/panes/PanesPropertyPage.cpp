#include "app/panes/PanesPropertyPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/panes/PanePickTreeCtrl.h"

CPanesPropertyPage::CPanesPropertyPage(uint32_t mask, QWidget* parent)
    : QWidget(parent), mask_(mask), tree_(new CPanePickTreeCtrl(this)) {
  setObjectName("panesPage");
  setWindowTitle("Panes");
  setAccessibleName("Panes");
  tree_->SetMask(mask);

  auto* all = new QPushButton("&All", this);
  auto* none = new QPushButton("&None", this);
  all->setObjectName("allPanes");
  none->setObjectName("noPanes");
  all->setAutoDefault(false);
  none->setAutoDefault(false);
  connect(all, &QPushButton::clicked, tree_, [this] { tree_->SetAllChecked(true); });
  connect(none, &QPushButton::clicked, tree_, [this] { tree_->SetAllChecked(false); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(all);
  buttons->addWidget(none);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addLayout(buttons);
}

uint32_t CPanesPropertyPage::Mask() const {
  return tree_->ApplyTo(mask_);
}
