#include "app/custom/CustomEntryDialogDelete.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/custom/CustomEntryModel.h"
#include "app/custom/EntryListCtrl.h"
#include "custom/custom_db.h"
#include "ui/MessageBox.h"

CCustomEntryDialogDelete::CCustomEntryDialogDelete(const CustomStore& store, QWidget* parent)
    : QDialog(parent),
      store_(store),
      model_(new CustomEntryModel(this)),
      list_(new CEntryListCtrl(this)) {
  setObjectName(QStringLiteral("customDatabaseDialog"));
  setWindowTitle(tr("Custom Database"));
  list_->setObjectName(QStringLiteral("entryList"));
  list_->setAccessibleName(tr("Custom entries"));
  list_->setModel(model_);

  auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
  delete_button_ = buttons->addButton(tr("Delete"), QDialogButtonBox::ActionRole);
  delete_button_->setObjectName(QStringLiteral("deleteButton"));
  edit_button_ = buttons->addButton(tr("Edit"), QDialogButtonBox::ActionRole);
  edit_button_->setObjectName(QStringLiteral("editButton"));
  QPushButton* done = buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
  done->setObjectName(QStringLiteral("doneButton"));
  for (QPushButton* button : {delete_button_, edit_button_, done})
    button->setAutoDefault(false);
  connect(delete_button_, &QPushButton::clicked, this, &CCustomEntryDialogDelete::OnDelete);
  connect(edit_button_, &QPushButton::clicked, this, &CCustomEntryDialogDelete::OnEdit);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  connect(list_, &CEntryListCtrl::EditRequested, this, &CCustomEntryDialogDelete::OnEdit);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(sizeHint().expandedTo(QSize(list_->fontMetrics().averageCharWidth() * 80, 0)));
  Fill();
  list_->setFocus(Qt::OtherFocusReason);
}

void CCustomEntryDialogDelete::Fill() {
  std::vector<CustomEntrySummary> entries;
  // A database that cannot be read lists what it could (or nothing).
  CustomDb_GetAllEntries(store_.db(), &entries);
  model_->SetEntries(entries);
  const bool any = model_->rowCount() > 0;
  if (any) list_->selectRow(0);
  delete_button_->setEnabled(any);
  edit_button_->setEnabled(any);
}

void CCustomEntryDialogDelete::OnDelete() {
  std::vector<int32_t> positions;
  for (int row : list_->SelectedRows())
    positions.push_back(model_->row(row).position);
  bool open = true;
  for (size_t i = 0; i < positions.size(); ++i) {
    if (!CustomDb_DeleteEntry(store_.db(), positions[i])) {
      MessageBox::Error(this, QString::fromUtf8(lookup::kDeleteFailedMessage));
      break;
    }
    // The entries behind a deleted one move up by one position.
    for (size_t j = i + 1; j < positions.size(); ++j) {
      if (positions[j] > positions[i]) --positions[j];
    }
    open = ReopenCustomDatabase(store_, this);
    if (!open) break;
  }
  if (open) ReopenCustomDatabase(store_, this);
  Fill();
}

bool CCustomEntryDialogDelete::LoadEntry(int row, CustomEntryToEdit* entry) const {
  const CustomEntryModel::Row& r = model_->row(row);
  if (r.entry.word.empty() || r.entry.type_name.empty() || r.entry.definition.empty()) {
    return false;
  }
  const CustomDatabase* db = store_.db();
  // Queried as stored, so that entries keyed by any writer are found.
  const char* word = r.entry.word.c_str();
  entry->word = QString::fromStdString(r.word);
  entry->definition = QString::fromStdString(r.entry.definition);
  entry->position = r.position;
  entry->type_index = CustomTypeIndex(r.entry.type_name);
  entry->examples.clear();
  std::vector<CustomEntryInfo> infos;
  CustomDb_GetEntries(db, word, &infos);
  for (const CustomEntryInfo& info : infos) {
    if (info.definition == r.entry.definition) {
      entry->examples = info.examples;
      break;
    }
  }
  for (auto& words : entry->related)
    words.clear();
  for (int slot : lookup::CustomTabSlots(entry->type_index)) {
    if (kCustomRelations[slot].has(db, word))
      kCustomRelations[slot].get(db, word, &entry->related[slot]);
  }
  return true;
}

void CCustomEntryDialogDelete::OnEdit() {
  const QList<int> rows = list_->SelectedRows();
  CustomEntryToEdit entry;
  if (rows.isEmpty() || !LoadEntry(rows.first(), &entry)) return;
  CCustomEntryDialogEdit dialog(store_, entry, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ReopenCustomDatabase(store_, this);
  Fill();
}
