// The custom database through the real main window: the Database menu, the help form's link,
// and the views following every change of the database.
#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "app/custom/CustomEntryDialogAdd.h"
#include "app/custom/CustomEntryDialogDelete.h"
#include "app/custom/CustomEntryModel.h"
#include "app/lookup/lookup.h"
#include "app/panes/HelpFormView.h"
#include "app/panes/SenseListView.h"
#include "app/shell/HelpWindow.h"
#include "app/shell/LookupController.h"
#include "custom/backup.h"
#include "tests/shell/shell_test_util.h"
#include "ui/FileDialog.h"
#include "ui/LinkLabel.h"

namespace {

using shell_test::TypeLookup;

class CustomEntriesTest : public shell_test::WindowTest {
 protected:
  void SetUp() override {
    shell_test::ResetSettings();
    FileDialog::TakeAsked();
    QFile::link(QStringLiteral(VERBARIUM_BINARY_DIR "/help"), data_.path() + "/help");
    Start();
  }
  void TearDown() override { dialog_.reset(); }  // before its folder goes

  void Start() { dialog_ = shell_test::StartedDialog(data_.path()); }

  // Whether the item is enabled when the user opens its menu.
  bool EnabledInMenu(Command command) const {
    QMenu* menu = nullptr;
    for (QObject* owner : Action(command)->associatedObjects())
      if (auto* found = qobject_cast<QMenu*>(owner)) menu = found;
    EXPECT_NE(menu, nullptr);
    if (menu == nullptr) return false;
    menu->popup(dialog_->mapToGlobal(QPoint()));
    const bool enabled = Action(command)->isEnabled();
    menu->hide();
    return enabled;
  }
  // A shortcut of the main window, pressed in its lookup box.
  void PressCtrl(Qt::Key key) const {
    // A word's Anagrams tab keeps the window busy while its search runs.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog_->tool_row()->LookupBox()->isEnabled(); }));
    dialog_->activateWindow();  // as the window manager does when a dialog closes
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    QTest::keyClick(dialog_->tool_row()->LookupBox()->lineEdit(), key, Qt::ControlModifier);
  }
  template <typename Dialog>
  Dialog* Open() const {
    auto* dialog = dialog_->findChild<Dialog*>();
    if (dialog == nullptr || !dialog->isVisible()) return nullptr;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
    return dialog;
  }
  // Clicks a button of a dialog; a dialog it closes is gone afterwards.
  static void Click(QWidget* dialog, const char* button) {
    auto* found = dialog->findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(found, nullptr) << button;
    QTest::mouseClick(found, Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Adds an entry in the open add dialog, then closes it with "Done".
  void AddInDialog(const char* word, const char* definition) const {
    auto* add = Open<CCustomEntryDialogAdd>();
    ASSERT_NE(add, nullptr);
    if (word != nullptr) add->word_edit()->setText(QString::fromLatin1(word));
    QTest::keyClicks(add->definition_edit(), QString::fromLatin1(definition));
    Click(add, "addButton");
    Click(add, "doneButton");
  }
  std::string FirstDefinition() const {
    const auto& senses = dialog_->lookup()->session()->senses();
    return senses.empty() ? "(none)" : senses[0].definition;
  }

  shell_test::DataFolder data_;
};

TEST_F(CustomEntriesTest, MenuItemsFollowTheEntryCount) {
  ASSERT_FALSE(EnabledInMenu(Command::kEditEntries)) << "a fresh database is empty";
  EXPECT_FALSE(EnabledInMenu(Command::kBackup));
  EXPECT_TRUE(EnabledInMenu(Command::kAddEntry) && EnabledInMenu(Command::kRestore));
  PressCtrl(Qt::Key_E);
  EXPECT_EQ(Open<CCustomEntryDialogDelete>(), nullptr);

  PressCtrl(Qt::Key_I);
  AddInDialog("zorbix", "a made up word");
  EXPECT_TRUE(EnabledInMenu(Command::kEditEntries));
  EXPECT_TRUE(EnabledInMenu(Command::kBackup));

  // Changed behind the window's back, as by the command line. Deleted while the item is still
  // enabled: the command finds nothing to edit.
  CustomDatabase* other = nullptr;
  ASSERT_EQ(CustomDb_Open(&other, data_.DataFile("1001M.idx").toUtf8().constData(),
                          data_.DataFile("1001M.dat").toUtf8().constData()),
            kCustomOk);
  ASSERT_TRUE(CustomDb_DeleteEntry(other, 0));
  ASSERT_TRUE(Action(Command::kEditEntries)->isEnabled());
  Action(Command::kEditEntries)->trigger();
  EXPECT_EQ(Open<CCustomEntryDialogDelete>(), nullptr);
  EXPECT_FALSE(EnabledInMenu(Command::kEditEntries));
  // Added while another window had the focus: back in the window, Ctrl+E opens the list.
  QWidget elsewhere;
  elsewhere.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  ASSERT_TRUE(CustomDb_AppendEntry(&other, 0, "quuxle", "a word", "", "", {}));
  CustomDb_Close(&other);
  PressCtrl(Qt::Key_E);
  EXPECT_NE(Open<CCustomEntryDialogDelete>(), nullptr);
}

TEST_F(CustomEntriesTest, HelpFormLinkAddsTheTypedWordAndShowsItsSenses) {
  TypeLookup(dialog_.get(), QStringLiteral("Zorbix"));
  ASSERT_EQ(UpperView(), QStringLiteral("helpForm"));
  auto* link = dialog_->findChild<CHelpFormView*>()->Link();
  EXPECT_TRUE(link->AddEntryMode() && link->Underlined());
  QTest::mouseClick(link, Qt::LeftButton);
  auto* add = Open<CCustomEntryDialogAdd>();
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->word_edit()->text(), dialog_->tool_row()->LookupBox()->currentText());

  AddInDialog(nullptr, "a made up word");
  EXPECT_EQ(UpperView(), QStringLiteral("senses"));
  EXPECT_EQ(dialog_->senses()->SenseCount(), 1);
  EXPECT_EQ(FirstDefinition(), "A made up word");

  // Deleting it in "Edit entries..." takes the view back to the help form.
  PressCtrl(Qt::Key_E);
  auto* database = Open<CCustomEntryDialogDelete>();
  ASSERT_NE(database, nullptr);
  Click(database, "deleteButton");
  Click(database, "doneButton");
  EXPECT_EQ(UpperView(), QStringLiteral("helpForm"));
}

TEST_F(CustomEntriesTest, RestoreShowsTheRestoredEntries) {
  QTemporaryDir saved;
  const std::string index = saved.filePath("1001M.idx").toStdString();
  const std::string data = saved.filePath("1001M.dat").toStdString();
  CustomDatabase* db = nullptr;
  CustomDb_CreateIfMissing(index.c_str(), data.c_str());
  ASSERT_EQ(CustomDb_Open(&db, index.c_str(), data.c_str()), kCustomOk);
  ASSERT_TRUE(CustomDb_AppendEntry(&db, 0, "quuxle", "a restored word", "", "", {}));
  CustomDb_Close(&db);
  QFile::copy(QString::fromStdString(data), saved.filePath("pair.dbk"));
  QFile::copy(QString::fromStdString(index), saved.filePath("pair.ibk"));

  TypeLookup(dialog_.get(), QStringLiteral("quuxle"));
  ASSERT_EQ(UpperView(), QStringLiteral("helpForm"));
  FileDialog::QueueAnswer(saved.filePath("pair.dbk"));
  Action(Command::kRestore)->trigger();
  EXPECT_EQ(shell_test::TakeMessages(),
            QStringList{"Information: " + QString::fromLatin1(kRestoredText)});
  EXPECT_EQ(UpperView(), QStringLiteral("senses"));
  EXPECT_EQ(FirstDefinition(), "A restored word");
  // The dialogs read the reopened database too.
  PressCtrl(Qt::Key_E);
  ASSERT_NE(Open<CCustomEntryDialogDelete>(), nullptr);
  EXPECT_EQ(Open<CCustomEntryDialogDelete>()->model()->rowCount(), 1);
}

TEST_F(CustomEntriesTest, F1InADialogShowsTheHelpOnCustomEntries) {
  PressCtrl(Qt::Key_I);
  AddInDialog("zorbix", "a made up word");
  for (Qt::Key shortcut : {Qt::Key_I, Qt::Key_E}) {
    SCOPED_TRACE(shortcut == Qt::Key_I ? "add dialog" : "custom database dialog");
    PressCtrl(shortcut);
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    QTest::keyClick(modal->focusWidget(), Qt::Key_F1);
    CHelpWindow* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* found = qobject_cast<CHelpWindow*>(window)) help = found;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("custom.html"));
    // Usable beside the dialog: its Contents button answers a click (sent through the window
    // system, which drops input to windows a modal dialog blocks).
    const QPushButton* contents = help->findChildren<QPushButton*>().value(2);
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                      contents->mapTo(help, contents->rect().center()));
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("index.html"));
    help->close();
    Click(modal, "doneButton");
  }
}

TEST_F(CustomEntriesTest, DialogsOpenAtTheSizeTheyWereLastGiven) {
  PressCtrl(Qt::Key_I);
  auto* add = Open<CCustomEntryDialogAdd>();
  ASSERT_NE(add, nullptr);
  const QSize size = add->size() + QSize(30, 20);
  add->resize(size);
  Click(add, "doneButton");
  dialog_.reset();  // the settings are written at exit
  Start();
  PressCtrl(Qt::Key_I);
  ASSERT_NE(Open<CCustomEntryDialogAdd>(), nullptr);
  EXPECT_EQ(Open<CCustomEntryDialogAdd>()->size(), size);
}

}  // namespace
