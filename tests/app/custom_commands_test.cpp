// The Database menu's commands: backup and restore through the file dialogs. The menu's
// enabling is tried in the real main window (tests/shell/custom_entries_test.cpp).

#include <QFile>
#include <QSignalSpy>
#include <cerrno>
#include <cstring>
#include <memory>

#include "app/custom/CustomDatabaseCommands.h"
#include "app/lookup/lookup.h"
#include "custom/backup.h"
#include "tests/app/custom_dialogs_util.h"
#include "ui/FileDialog.h"

namespace custom_dialogs_test {
namespace {

QByteArray Bytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class CommandsTest : public CustomDbFixture {
 protected:
  void SetUp() override {
    CustomDbFixture::SetUp();
    FileDialog::TakeAsked();
    Append("zorb", 0, "a large ball");
    commands_ = std::make_unique<CustomDatabaseCommands>(store_, nullptr);
  }
  QString Path(const char* name) const { return folder_.filePath(name); }

  std::unique_ptr<CustomDatabaseCommands> commands_;
};

TEST_F(CommandsTest, BackupRestoresIntoAFreshDatabase) {
  commands_->set_clock([] { return std::time_t{1770109507}; });  // 3 Feb 2026 09:05:07 UTC
  FileDialog::QueueAnswer(Path("saved.dbk"));
  commands_->Backup();
  const QList<FileDialog::Asked> asked = FileDialog::TakeAsked();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].save);
  EXPECT_TRUE(asked[0].suggested.endsWith("/vbc02032026090507.dbk"))
      << asked[0].suggested.toStdString();
  EXPECT_EQ(asked[0].filter, "Custom database backup files (*.dbk)");
  EXPECT_EQ(Shown(), Strings{});

  QTemporaryDir other;
  CustomDatabase* fresh = nullptr;
  const CustomStore fresh_store = StoreIn(other.path(), &fresh);
  CustomDatabaseCommands fresh_commands(fresh_store, nullptr);
  QSignalSpy changed(&fresh_commands, &CustomDatabaseCommands::DatabaseChanged);
  FileDialog::QueueAnswer(Path("saved.dbk"));
  fresh_commands.Restore();
  EXPECT_EQ(Shown(), Strings{kRestoredText});
  EXPECT_EQ(changed.count(), 1);
  lookup::LookupSession session(nullptr, &fresh);
  EXPECT_EQ(session.Lookup("zorb").kind, lookup::InputKind::kWord);
  CustomDb_Close(&fresh);
}

TEST_F(CommandsTest, BackupAsksBeforeReplacingAPair) {
  QFile(Path("old.ibk")).open(QIODevice::WriteOnly);  // only the index of the pair exists
  FileDialog::QueueAnswer(Path("old.dbk"));
  FileDialog::QueueAnswer(Path("old.dbk"));
  MessageBox::QueueAnswer(QMessageBox::No);
  MessageBox::QueueAnswer(QMessageBox::Yes);
  commands_->Backup();
  EXPECT_EQ(FileDialog::TakeAsked().size(), 2);  // "No" chose again
  EXPECT_EQ(Shown(), (Strings{"old.ibk already exists.\nDo you want to replace it?",
                              "old.ibk already exists.\nDo you want to replace it?"}));
  EXPECT_EQ(Bytes(Path("old.dbk").toStdString()), Bytes(store_.data_path));
  EXPECT_EQ(Bytes(Path("old.ibk").toStdString()), Bytes(store_.index_path));
}

// The kinds of damage are the core's to tell; here a half-missing pair is one of them.
TEST_F(CommandsTest, UnsoundPairLeavesTheDatabaseAsItWas) {
  FileDialog::QueueAnswer(Path("good.dbk"));
  commands_->Backup();
  QFile::copy(Path("good.dbk"), Path("lone.dbk"));  // without its "lone.ibk"
  const QByteArray index = Bytes(store_.index_path);
  const QByteArray data = Bytes(store_.data_path);
  FileDialog::QueueAnswer(Path("lone.dbk"));
  commands_->Restore();
  EXPECT_EQ(Shown(), Strings{std::string(kRestoreFailedText) + " : " + std::strerror(ENOENT)});
  EXPECT_EQ(Bytes(store_.index_path), index);
  EXPECT_EQ(Bytes(store_.data_path), data);
  EXPECT_EQ(Entries(), Strings{"zorb/noun/a large ball"});
}

TEST_F(CommandsTest, RestoreOpensADatabaseThatWasClosed) {
  FileDialog::QueueAnswer(Path("good.dbk"));
  commands_->Backup();
  CustomDb_Close(&db_);                   // as after a reopen that failed
  FileDialog::QueueAnswer(Path("good"));  // typed without its extension
  commands_->Restore();
  EXPECT_EQ(Shown(), Strings{kRestoredText});
  ASSERT_NE(db_, nullptr);
  EXPECT_EQ(Entries(), Strings{"zorb/noun/a large ball"});
}

}  // namespace
}  // namespace custom_dialogs_test
