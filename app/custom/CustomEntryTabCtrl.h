// The related-word tabs of the entry dialogs: 22 panels, one per relation slot, made with the
// control and kept for its lifetime; a type shows the tabs of its slots (CustomTabSlots), each
// labelled as its slot in kCustomRelations.
#pragma once

#include <QTabWidget>
#include <array>

#include "custom/custom_db.h"

class CCustomTabPanel;
class CEditableWordList;

class CCustomEntryTabCtrl : public QTabWidget {
  Q_OBJECT

 public:
  explicit CCustomEntryTabCtrl(QWidget* parent = nullptr);

  // Rebuilds the tabs for a type index: every panel's list is emptied (words typed on any tab
  // are discarded, also on tabs the new type shows too), then the type's tabs are shown in
  // order, the first one selected.
  void SetType(int type_index);

  CCustomTabPanel* panel(int slot) const { return panels_[slot]; }
  CEditableWordList* list(int slot) const;
  // The list of the tab shown.
  CEditableWordList* CurrentList() const;

  // Commits open edits on every panel.
  void FinishEditing();

 private:
  std::array<CCustomTabPanel*, kCustomRelationCount> panels_;
};
