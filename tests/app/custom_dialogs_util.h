// Helpers of the custom-entry dialog tests: a custom database in a scratch folder with the
// window's handle on it, typing into an editable list the way a user does, and reading back
// what the database holds.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "app/custom/CustomStore.h"
#include "app/custom/EditableWordList.h"
#include "custom/custom_db.h"
#include "ui/MessageBox.h"

namespace custom_dialogs_test {

using Strings = std::vector<std::string>;

// Types each text into the list: a new item, the text, Enter (which opens the next new item),
// and a last Enter on that empty item to end.
inline void TypeItems(CEditableWordList* list, const QStringList& texts) {
  list->StartNewItem();
  for (const QString& text : texts) {
    QTest::keyClicks(list->editor(), text);
    QTest::keyClick(list->editor(), Qt::Key_Return);
  }
  QTest::keyClick(list->editor(), Qt::Key_Return);
}

// Shows a dialog and makes it the active window, so that focus and keys reach it.
inline void Activate(QWidget* widget) {
  widget->show();
  widget->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
}

// The texts of the message boxes shown since the last call.
inline Strings Shown() {
  Strings texts;
  for (const MessageBox::Shown& shown : MessageBox::TakeShown())
    texts.push_back(shown.text.toStdString());
  return texts;
}

class CustomDbFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    store_ = StoreIn(folder_.path(), &db_);
    Shown();
  }
  void TearDown() override { CustomDb_Close(&db_); }

  // An empty database in `folder`, opened into *db.
  static CustomStore StoreIn(const QString& folder, CustomDatabase** db) {
    CustomStore store{db, (folder + "/1001M.idx").toStdString(),
                      (folder + "/1001M.dat").toStdString()};
    EXPECT_EQ(CustomDb_CreateIfMissing(store.index_path.c_str(), store.data_path.c_str()),
              CustomCreateResult::kCreated);
    EXPECT_EQ(CustomDb_Open(db, store.index_path.c_str(), store.data_path.c_str()), kCustomOk);
    return store;
  }

  // Appends an entry through the store, as an earlier session of the dialogs would have.
  void Append(const char* word, int type, const char* definition,
              const CustomRelationLists& related = {}, const char* examples = "") {
    ASSERT_TRUE(CustomDb_AppendEntry(&db_, type, word, definition, examples, "", related));
  }

  // "word/type/definition" of every entry, in database order.
  Strings Entries() const {
    std::vector<CustomEntrySummary> all;
    EXPECT_TRUE(CustomDb_GetAllEntries(db_, &all));
    Strings out;
    for (const CustomEntrySummary& e : all)
      out.push_back(e.word + "/" + e.type_name + "/" + e.definition);
    return out;
  }

  // The record texts stored under `word`.
  Strings Records(const char* word) const {
    Strings records;
    EXPECT_EQ(CustomDb_FindRecords(db_, word, &records), kCustomOk);
    return records;
  }

  QTemporaryDir folder_;
  CustomDatabase* db_ = nullptr;
  CustomStore store_;
};

}  // namespace custom_dialogs_test
