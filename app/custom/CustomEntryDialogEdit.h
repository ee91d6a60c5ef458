// "Edit Custom Entry": changes one entry of the custom database. "&Ok" replaces the entry
// (which then comes last in the database) and closes the dialog; "Cancel" changes nothing.
#pragma once

#include <QString>
#include <QStringList>

#include "app/custom/CustomEntryDialog.h"

// The entry as the Custom Database dialog loads it.
struct CustomEntryToEdit {
  QString word;
  QString definition;
  std::string examples;   // each example followed by '^'
  int32_t position = -1;  // the entry's position in the database
  int type_index = 0;
  CustomRelationLists related;  // by slot; the words of all the word's entries
};

class CCustomEntryDialogEdit : public CustomEntryDialog {
  Q_OBJECT

 public:
  CCustomEntryDialogEdit(const CustomStore& store, const CustomEntryToEdit& entry,
                         QWidget* parent = nullptr);

  // "&Ok": check, replace the entry, and close on success.
  void OnOk();

 private:
  int32_t position_;
};
