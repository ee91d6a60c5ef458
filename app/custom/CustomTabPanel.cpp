#include "app/custom/CustomTabPanel.h"

#include <QVBoxLayout>

#include "app/custom/EditableWordList.h"
#include "custom/custom_db.h"

CCustomTabPanel::CCustomTabPanel(int slot, QWidget* parent)
    : QWidget(parent), slot_(slot), list_(new CEditableWordList(tr("Related words"), this)) {
  const QString label = QString::fromUtf8(kCustomRelations[slot].label);
  setObjectName(QStringLiteral("panel%1").arg(slot));
  list_->setObjectName(QStringLiteral("relatedList%1").arg(slot));
  list_->setAccessibleName(tr("Related words: %1").arg(label));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
}
