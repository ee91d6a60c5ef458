#include "app/custom/CustomEntryDialogEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/custom/CustomEntryTabCtrl.h"
#include "app/custom/EditableWordList.h"
#include "custom/custom_db.h"
#include "ui/MessageBox.h"

namespace {

QStringList ToStringList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts)
    list.append(QString::fromStdString(text));
  return list;
}

}  // namespace

CCustomEntryDialogEdit::CCustomEntryDialogEdit(const CustomStore& store,
                                               const CustomEntryToEdit& entry, QWidget* parent)
    : CustomEntryDialog(store, lookup::EntryDialog::kEdit, parent), position_(entry.position) {
  setObjectName(QStringLiteral("editCustomEntryDialog"));
  setWindowTitle(tr("Edit Custom Entry"));
  connect(AddButton(tr("&Ok"), "okButton"), &QPushButton::clicked, this,
          &CCustomEntryDialogEdit::OnOk);
  connect(AddButton(tr("Cancel"), "cancelButton"), &QPushButton::clicked, this, &QDialog::reject);
  word_edit()->setText(entry.word);
  definition_edit()->setText(entry.definition);
  SetType(entry.type_index);
  SetExamples(ToStringList(lookup::SplitCustomExamples(entry.examples)));
  for (int slot : lookup::CustomTabSlots(type_combo()->currentIndex()))
    tabs()->list(slot)->SetItems(ToStringList(entry.related[slot]));
}

void CCustomEntryDialogEdit::OnOk() {
  lookup::CustomEntryValues values;
  if (!CheckForm(&values)) return;
  CustomReplaceFailure failure = CustomReplaceFailure::kNone;
  if (CustomDb_ReplaceEntry(store().handle, position_, values.type_index, values.key.c_str(),
                            values.definition.c_str(), values.examples.c_str(), "", values.related,
                            &failure)) {
    accept();
    return;
  }
  if (failure == CustomReplaceFailure::kDelete) {
    MessageBox::Error(this, QString::fromUtf8(lookup::kEditFailedMessage));
  }
  MessageBox::Error(this, QString::fromUtf8(lookup::kAddFailedMessage));
}
