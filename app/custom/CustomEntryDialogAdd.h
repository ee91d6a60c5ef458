// "Add Custom Entry": adds any number of entries to the custom database while it is open. A
// valid entry is stored at once and the form is cleared for the next; a store that fails keeps
// the form as typed.
#pragma once

#include "app/custom/CustomEntryDialog.h"

class CCustomEntryDialogAdd : public CustomEntryDialog {
  Q_OBJECT

 public:
  // `initial_word` goes into the word box (the lookup box's text, or nothing).
  CCustomEntryDialogAdd(const CustomStore& store, const QString& initial_word,
                        QWidget* parent = nullptr);

  // "&Add": check, store, and clear the form on success.
  void OnAdd();

  // The number of entries added since the dialog opened.
  int added() const { return added_; }

 private:
  void ClearForm();

  int added_ = 0;
};
