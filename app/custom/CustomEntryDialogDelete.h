// "Custom Database": every entry of the custom database in a list sorted by word; "Delete"
// removes the selected entries, "Edit" opens the first selected one in "Edit Custom Entry".
// The list is refreshed after every delete and every edit saved, and the database is reopened
// after each change (ReopenCustomDatabase).
#pragma once

#include <QDialog>

#include "app/custom/CustomEntryDialogEdit.h"
#include "app/custom/CustomStore.h"

class CEntryListCtrl;
class CustomEntryModel;
class QPushButton;

class CCustomEntryDialogDelete : public QDialog {
  Q_OBJECT

 public:
  explicit CCustomEntryDialogDelete(const CustomStore& store, QWidget* parent = nullptr);

  CEntryListCtrl* list() const { return list_; }
  CustomEntryModel* model() const { return model_; }

  // "Delete": the selected entries, in list order.
  void OnDelete();
  // "Edit": the first selected entry.
  void OnEdit();

  // The entry of list row `row` as the edit dialog takes it: the related words of every entry
  // of its word for the tabs its type shows, the examples of the entry of that word whose
  // definition is the row's. False when the row's word, type or definition is empty.
  bool LoadEntry(int row, CustomEntryToEdit* entry) const;

 private:
  // Fills the list from the database, the first row selected; the buttons follow.
  void Fill();

  CustomStore store_;
  CustomEntryModel* model_;
  CEntryListCtrl* list_;
  QPushButton* delete_button_;
  QPushButton* edit_button_;
};
