// The three custom-entry dialogs driven through their widgets: what they store, what they
// refuse and how, and what the form holds afterwards.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <functional>

#include "app/custom/CustomEntryDialogAdd.h"
#include "app/custom/CustomEntryDialogDelete.h"
#include "app/custom/CustomEntryDialogEdit.h"
#include "app/custom/CustomEntryModel.h"
#include "app/custom/CustomEntryTabCtrl.h"
#include "app/custom/EntryListCtrl.h"
#include "app/lookup/lookup.h"
#include "custom/file_ops.h"
#include "tests/app/custom_dialogs_util.h"

namespace custom_dialogs_test {
namespace {

using lookup::CustomTabSlots;

// A disk that takes no more bytes.
struct FullDisk : custom::FileOps {
  ssize_t Pwrite(int, const void*, size_t, off_t) override {
    errno = ENOSPC;
    return -1;
  }
};

class AddDialogTest : public CustomDbFixture {};

TEST_F(AddDialogTest, AddedPhraseIsStoredUnderItsIndexForm) {
  CCustomEntryDialogAdd dialog(store_, "ice cream");
  QTest::keyClicks(dialog.definition_edit(), "a frozen dessert");
  TypeItems(dialog.tabs()->list(0), {"Gelato"});
  TypeItems(dialog.examples(), {"a cone of ice cream"});
  QTest::mouseClick(dialog.commit_button(), Qt::LeftButton);
  EXPECT_EQ(Shown(), Strings{});
  EXPECT_EQ(Records("ice_cream"), Strings{"ice_cream%gelato%" + std::string(21, '%') +
                                          "noun%a frozen dessert%%a cone of ice cream^%"});
  // The form is ready for the next entry.
  EXPECT_EQ(dialog.word_edit()->text(), "");
  EXPECT_EQ(dialog.definition_edit()->text(), "");
  EXPECT_EQ(dialog.type_combo()->currentText(), "Noun");
  EXPECT_EQ(dialog.examples()->ItemCount(), 0);
  EXPECT_EQ(dialog.tabs()->list(0)->ItemCount(), 0);
}

TEST_F(AddDialogTest, TypeChangeDiscardsEveryRelatedWord) {
  CCustomEntryDialogAdd dialog(store_, "");
  TypeItems(dialog.tabs()->list(0), {"orb"});
  TypeItems(dialog.tabs()->list(3), {"pile"});
  QTest::keyClick(dialog.type_combo(), Qt::Key_Down);  // Verb, which shows "Synonyms" too
  ASSERT_EQ(dialog.type_combo()->currentIndex(), 1);
  for (int slot = 0; slot < kCustomRelationCount; ++slot)
    EXPECT_EQ(dialog.tabs()->list(slot)->ItemCount(), 0) << slot;
  EXPECT_EQ(static_cast<size_t>(dialog.tabs()->count()), CustomTabSlots(1).size());
  EXPECT_EQ(dialog.tabs()->tabText(3), "Related to");
}

// Each refusal shows its message, empties only the box at fault, and stores nothing.
TEST_F(AddDialogTest, RefusedFormsKeepTheDatabase) {
  const struct {
    const char* word;
    const char* definition;
    const char* example;
    const char* message;
    const char* word_after;
    const char* definition_after;
  } cases[] = {
      {" ", "x", "", lookup::kEnterWordMessage, " ", "x"},
      {"caf\xC3\xA9", "x", "", lookup::kInvalidWordMessage, "", "x"},
      {"ice\tcream", "x", "", lookup::kInvalidWordMessage, "", "x"},
      {"zorb", "a^b", "", lookup::kInvalidDefinitionMessage, "zorb", ""},
      {"zorb", "x", "50% off", lookup::kInvalidExampleMessage, "zorb", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word + std::string("/") + c.definition);
    CCustomEntryDialogAdd dialog(store_, QString::fromUtf8(c.word));
    dialog.definition_edit()->setText(c.definition);  // pasted
    if (*c.example != '\0') TypeItems(dialog.examples(), {c.example});
    QTest::mouseClick(dialog.commit_button(), Qt::LeftButton);
    EXPECT_EQ(Shown(), Strings{c.message});
    EXPECT_EQ(dialog.word_edit()->text().toStdString(), c.word_after);
    EXPECT_EQ(dialog.definition_edit()->text().toStdString(), c.definition_after);
    EXPECT_EQ(dialog.examples()->ItemCount(), *c.example != '\0' ? 1 : 0);
  }
  EXPECT_EQ(CustomDb_CountEntries(db_), 0u);
}

TEST_F(AddDialogTest, FiveHundredRelatedWordsAreStored) {
  CCustomEntryDialogAdd dialog(store_, "crowd");
  dialog.definition_edit()->setText("many people");
  dialog.tabs()->list(0)->SetItems(QStringList(500, "member"));
  dialog.OnAdd();
  EXPECT_EQ(Shown(), Strings{});
  std::vector<std::string> stored;
  EXPECT_EQ(CustomDb_GetSynonyms(db_, "crowd", &stored), kCustomOk);
  EXPECT_EQ(stored.size(), 500u);
}

TEST_F(AddDialogTest, FailingStoreKeepsTheForm) {
  CCustomEntryDialogAdd dialog(store_, "zorb");
  dialog.definition_edit()->setText("a ball");
  TypeItems(dialog.tabs()->list(0), {"orb"});
  FullDisk disk;
  custom::FileOps* before = custom::SetFileOpsForTesting(&disk);
  dialog.OnAdd();
  custom::SetFileOpsForTesting(before);
  EXPECT_EQ(Shown(), Strings{lookup::kAddFailedMessage});
  EXPECT_EQ(dialog.word_edit()->text(), "zorb");
  EXPECT_EQ(dialog.definition_edit()->text(), "a ball");
  EXPECT_EQ(dialog.tabs()->list(0)->Items(), QStringList{"orb"});
  EXPECT_EQ(CustomDb_CountEntries(db_), 0u);
}

// The Custom Database dialog, with the edit dialog it opens answered from inside its run.
class DatabaseDialogTest : public CustomDbFixture {
 protected:
  // Selects the list rows `rows` of the dialog.
  static void Select(CCustomEntryDialogDelete& dialog, const QList<int>& rows) {
    dialog.list()->clearSelection();
    for (int row : rows) {
      dialog.list()->selectionModel()->select(
          dialog.model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  // Clicks "Edit" on the row; `act` runs on the open edit dialog, which is then cancelled if
  // it is still open.
  static void Edit(CCustomEntryDialogDelete& dialog, int row,
                   const std::function<void(CCustomEntryDialogEdit&)>& act) {
    Select(dialog, {row});
    bool opened = false;
    QTimer::singleShot(0, &dialog, [&] {
      auto* edit = dialog.findChild<CCustomEntryDialogEdit*>();
      if (edit == nullptr) return;
      opened = true;
      act(*edit);
      if (edit->isVisible()) edit->reject();
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>("editButton"), Qt::LeftButton);
    EXPECT_TRUE(opened);
  }
};

TEST_F(DatabaseDialogTest, DeletesExactlyTheSelectedRows) {
  for (const char* word : {"pear", "apple", "fig", "kiwi"})
    Append(word, 0, "a fruit");
  CCustomEntryDialogDelete dialog(store_);
  // Rows by word, positions by database order: apple (position 1) and kiwi (3, then 2).
  Select(dialog, {0, 2});
  QTest::mouseClick(dialog.findChild<QPushButton*>("deleteButton"), Qt::LeftButton);
  EXPECT_EQ(Shown(), Strings{});
  EXPECT_EQ(Entries(), (Strings{"pear/noun/a fruit", "fig/noun/a fruit"}));
  EXPECT_EQ(dialog.model()->rowCount(), 2);
}

TEST_F(DatabaseDialogTest, EditLoadsTheRelatedWordsOfEveryEntryOfTheWord) {
  CustomRelationLists shore, tilt;
  shore[0] = {"shore"};
  tilt[0] = {"tilt"};
  Append("bank", 0, "land by a river", shore, "on the bank^");
  Append("bank", 1, "tip laterally", tilt);
  CCustomEntryDialogDelete dialog(store_);
  Edit(dialog, 0, [](CCustomEntryDialogEdit& edit) {
    EXPECT_EQ(edit.definition_edit()->text(), "land by a river");
    EXPECT_EQ(edit.examples()->Items(), QStringList{"on the bank"});
    EXPECT_EQ(edit.tabs()->list(0)->Items(), (QStringList{"shore", "tilt"}));
  });
}

TEST_F(DatabaseDialogTest, SavedEntryComesLast) {
  Append("bank", 0, "land by a river");
  Append("vault", 0, "a strongroom");
  CCustomEntryDialogDelete dialog(store_);
  Edit(dialog, 0, [](CCustomEntryDialogEdit& edit) {
    edit.definition_edit()->setText("sloping land");
    edit.OnOk();
  });
  EXPECT_EQ(Shown(), Strings{});
  EXPECT_EQ(Entries(), (Strings{"vault/noun/a strongroom", "bank/noun/sloping land"}));
  EXPECT_EQ(dialog.model()->rowCount(), 2);
}

TEST_F(DatabaseDialogTest, SavingUnchangedKeepsEveryRelatedWord) {
  for (int type = 0; type < kCustomTypeCount; ++type) {
    SCOPED_TRACE(type);
    CustomRelationLists related;
    for (int slot : CustomTabSlots(type))
      related[slot] = {"first" + std::to_string(slot), "second"};
    const std::string word(1, static_cast<char>('a' + type));
    Append(word.c_str(), type, "some meaning", related, "one^two^");
    const Strings before = Records(word.c_str());
    CCustomEntryDialogDelete dialog(store_);
    Edit(dialog, type, [](CCustomEntryDialogEdit& edit) { edit.OnOk(); });
    EXPECT_EQ(Records(word.c_str()), before);
  }
  EXPECT_EQ(Shown(), Strings{});
}

TEST_F(DatabaseDialogTest, DigitInTheDefinitionIsRefusedOnEdit) {
  CCustomEntryDialogAdd add(store_, "highway");
  add.definition_edit()->setText("route 66");
  add.OnAdd();  // the add dialog takes digits
  ASSERT_EQ(Entries(), Strings{"highway/noun/route 66"});
  CCustomEntryDialogDelete dialog(store_);
  Edit(dialog, 0, [](CCustomEntryDialogEdit& edit) {
    edit.OnOk();
    EXPECT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.definition_edit()->text(), "");
  });
  EXPECT_EQ(Shown(), Strings{lookup::kInvalidDefinitionMessage});
  EXPECT_EQ(Entries(), Strings{"highway/noun/route 66"});
}

TEST_F(DatabaseDialogTest, FailingStoreKeepsTheEditOpen) {
  Append("zorb", 0, "a ball");
  CCustomEntryDialogDelete dialog(store_);
  Edit(dialog, 0, [](CCustomEntryDialogEdit& edit) {
    FullDisk disk;
    custom::FileOps* before = custom::SetFileOpsForTesting(&disk);
    edit.OnOk();
    custom::SetFileOpsForTesting(before);
    EXPECT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.word_edit()->text(), "zorb");
  });
  EXPECT_EQ(Shown(), (Strings{lookup::kEditFailedMessage, lookup::kAddFailedMessage}));
  EXPECT_EQ(Entries(), Strings{"zorb/noun/a ball"});
}

}  // namespace
}  // namespace custom_dialogs_test
