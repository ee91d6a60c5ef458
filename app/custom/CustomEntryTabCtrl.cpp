#include "app/custom/CustomEntryTabCtrl.h"

#include "app/custom/CustomTabPanel.h"
#include "app/custom/EditableWordList.h"
#include "app/lookup/custom_entry.h"

CCustomEntryTabCtrl::CCustomEntryTabCtrl(QWidget* parent) : QTabWidget(parent) {
  for (int slot = 0; slot < kCustomRelationCount; ++slot) {
    panels_[slot] = new CCustomTabPanel(slot, this);
    panels_[slot]->hide();  // shown once a type's tab holds it
  }
  // Tabs past the width scroll rather than squeeze their labels.
  setUsesScrollButtons(true);
  setElideMode(Qt::ElideNone);
}

void CCustomEntryTabCtrl::SetType(int type_index) {
  for (CCustomTabPanel* panel : panels_)
    panel->list()->Clear();
  while (count() > 0)
    removeTab(0);  // the page stays with the control
  for (int slot : lookup::CustomTabSlots(type_index))
    addTab(panels_[slot], QString::fromUtf8(kCustomRelations[slot].label));
  setCurrentIndex(0);
}

CEditableWordList* CCustomEntryTabCtrl::list(int slot) const {
  return panels_[slot]->list();
}

CEditableWordList* CCustomEntryTabCtrl::CurrentList() const {
  auto* panel = qobject_cast<CCustomTabPanel*>(currentWidget());
  return panel != nullptr ? panel->list() : nullptr;
}

void CCustomEntryTabCtrl::FinishEditing() {
  for (CCustomTabPanel* panel : panels_)
    panel->list()->FinishEditing();
}
