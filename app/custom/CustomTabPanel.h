// The page of one relation slot in the entry dialogs' related-word tabs: a list of related
// words edited in place.
#pragma once

#include <QWidget>

class CEditableWordList;

class CCustomTabPanel : public QWidget {
  Q_OBJECT

 public:
  // `slot` is the relation slot (0 to 21) whose words the panel holds.
  CCustomTabPanel(int slot, QWidget* parent = nullptr);

  int slot() const { return slot_; }
  CEditableWordList* list() const { return list_; }

 private:
  int slot_;
  CEditableWordList* list_;
};
