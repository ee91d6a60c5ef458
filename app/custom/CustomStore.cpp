#include "app/custom/CustomStore.h"

#include <QString>

#include "app/lookup/custom_entry.h"
#include "custom/custom_db.h"
#include "ui/MessageBox.h"

bool ReopenCustomDatabase(const CustomStore& store, QWidget* parent) {
  if (store.handle == nullptr) return false;
  CustomDb_Close(store.handle);
  if (CustomDb_Open(store.handle, store.index_path.c_str(), store.data_path.c_str()) == kCustomOk) {
    return true;
  }
  MessageBox::Error(parent, QString::fromUtf8(lookup::kCorruptedDataMessage));
  return false;
}

bool HasCustomEntries(const CustomStore& store) {
  return CustomDb_CountEntries(store.db()) > 0;
}
