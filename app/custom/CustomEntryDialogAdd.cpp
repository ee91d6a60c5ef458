#include "app/custom/CustomEntryDialogAdd.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/custom/EditableWordList.h"
#include "custom/custom_db.h"
#include "ui/MessageBox.h"

CCustomEntryDialogAdd::CCustomEntryDialogAdd(const CustomStore& store, const QString& initial_word,
                                             QWidget* parent)
    : CustomEntryDialog(store, lookup::EntryDialog::kAdd, parent) {
  setObjectName(QStringLiteral("addCustomEntryDialog"));
  setWindowTitle(tr("Add Custom Entry"));
  connect(AddButton(tr("&Add"), "addButton"), &QPushButton::clicked, this,
          &CCustomEntryDialogAdd::OnAdd);
  connect(AddButton(tr("Done"), "doneButton"), &QPushButton::clicked, this, &QDialog::accept);
  connect(AddButton(tr("Cancel"), "cancelButton"), &QPushButton::clicked, this, &QDialog::reject);
  word_edit()->setText(initial_word);  // cut at the box's limit, as typing would stop there
}

void CCustomEntryDialogAdd::OnAdd() {
  lookup::CustomEntryValues values;
  if (!CheckForm(&values)) return;
  if (!CustomDb_AppendEntry(store().handle, values.type_index, values.key.c_str(),
                            values.definition.c_str(), values.examples.c_str(), "",
                            values.related)) {
    MessageBox::Error(this, QString::fromUtf8(lookup::kAddFailedMessage));
    return;
  }
  ++added_;
  ClearForm();
}

void CCustomEntryDialogAdd::ClearForm() {
  word_edit()->clear();
  definition_edit()->clear();
  SetType(0);
  examples()->Clear();
  word_edit()->setFocus(Qt::OtherFocusReason);
}
