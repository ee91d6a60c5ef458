// Start-up and shut-down of the real main window: each failure's one message, the splash,
// and what comes back at the next start.
#include <QSignalSpy>
#include <QSplitter>

#include "app/anagrams/AnagramsView.h"
#include "app/panes/SenseListView.h"
#include "app/panes/WordListCtrl.h"
#include "app/shell/LookupController.h"
#include "tests/shell/shell_test_util.h"

namespace {

using shell_test::DataFolder;
using shell_test::Options;

constexpr char kCorrupted[] =
    "One of the data files has been corrupted.\nPlease reinstall or repair Verbarium.";
constexpr char kReadError[] = "Error reading the dictionaries. Please re-install Verbarium.";
const QString kError = QStringLiteral("Error: ");

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override { shell_test::ResetSettings(); }
};

// One row for each step of the start-up and each message (which damage each file's check
// finds is the engines' to tell, and tried there).
TEST_F(StartUpTest, EachBrokenDataFileStopsStartUpWithItsOneMessage) {
  struct Case {
    const char* file;
    bool damaged;  // else missing
    const char* message;
  };
  const Case cases[] = {
      {"1001L.dat", true, kCorrupted},   // the lexical engine's integrity check
      {"1001W.dat", false, kReadError},  // the lexical engine's other failures
      {"1001M.idx", false, kReadError},  // the custom database
      {"1001A.dat", false, kReadError},  // a damaged one: DamagedAnagramList...
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.damaged ? " damaged" : " missing"));
    DataFolder data;
    if (c.damaged) {
      data.Damage(c.file, [](QByteArray& bytes) { bytes[1000] = ~bytes[1000]; });
    } else {
      data.Remove(c.file);
    }
    CMainDialog dialog;
    EXPECT_FALSE(dialog.StartUp(Options(data.path())));
    EXPECT_EQ(shell_test::TakeMessages(), QStringList{kError + QString::fromLatin1(c.message)});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.lookup()->started());
    dialog.ShutDown();
    EXPECT_EQ(dialog.handles().engine(), nullptr);
    EXPECT_EQ(*dialog.handles().custom_handle(), nullptr);
    EXPECT_EQ(dialog.handles().jumble(), nullptr);
  }
}

// The anagram list loads after the window is up; a request made before waits for it.
TEST_F(StartUpTest, AnagramRequestBeforeTheListHasLoadedWaitsThenAnswers) {
  DataFolder data;
  CMainDialog dialog;
  ASSERT_TRUE(dialog.StartUp(Options(data.path())));
  shell_test::TypeLookup(&dialog, QStringLiteral("listen"));
  shell_test::SelectTab(&dialog, QStringLiteral("Anagrams"));
  auto* view = qobject_cast<CAnagramsView*>(dialog.frame()->AnagramsView());
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(dialog.handles().jumble(), nullptr) << "nothing was painted yet";
  EXPECT_TRUE(view->generating());
  EXPECT_TRUE(dialog.busy());

  ASSERT_TRUE(QTest::qWaitFor([&] { return !view->generating(); }, 30000));
  ASSERT_NE(dialog.handles().jumble(), nullptr);
  EXPECT_FALSE(dialog.busy());
  EXPECT_TRUE(view->List()->Words().contains(QStringLiteral("silent")));
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
}

TEST_F(StartUpTest, DamagedAnagramListAfterTheWindowIsUpEndsTheProgram) {
  DataFolder data;
  data.Damage("1001A.dat", [](QByteArray& bytes) { bytes[5000] = ~bytes[5000]; });
  CMainDialog dialog;
  QSignalSpy ended(&dialog, &CMainDialog::LateStartUpFailed);
  ASSERT_TRUE(dialog.StartUp(Options(data.path())));
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 30000));
  EXPECT_EQ(shell_test::TakeMessages(), QStringList{kError + QString::fromLatin1(kCorrupted)});
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.handles().jumble(), nullptr);
}

TEST_F(StartUpTest, UnusableSettingsFolderStopsStartUp) {
  // A file where the settings folder belongs: the settings can be neither read nor created.
  const QString folder = QFileInfo(shell_test::SettingsPath()).absolutePath();
  QDir(folder).removeRecursively();
  QDir().mkpath(QFileInfo(folder).absolutePath());
  QFile blocker(folder);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  DataFolder data;
  {
    CMainDialog dialog;
    EXPECT_FALSE(dialog.StartUp(Options(data.path())));
    EXPECT_EQ(shell_test::TakeMessages(),
              QStringList{kError + "Error reading program settings. Please re-install Verbarium."});
    EXPECT_EQ(dialog.handles().engine(), nullptr) << "nothing after the settings step runs";
  }
  QFile::remove(folder);
}

TEST_F(StartUpTest, MissingSplashIsReportedAndStartUpGoesOn) {
  DataFolder data;
  data.Remove("verbarium.bmp");
  StartUpOptions options = Options(data.path());
  options.splash = true;
  CMainDialog dialog;
  EXPECT_TRUE(dialog.StartUp(options));
  EXPECT_EQ(shell_test::TakeMessages(), QStringList{kError + QString::fromLatin1(kReadError)});
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(StartUpTest, InstalledDictionaryWorksFromAnyFolderWithThePersonalCustomDatabase) {
  // <share>/verbarium/Data without a custom database, as the installation puts it.
  DataFolder share;
  const QString installed = share.path() + QStringLiteral("/verbarium");
  QDir().mkpath(installed);
  ASSERT_TRUE(
      QDir().rename(share.path() + QStringLiteral("/Data"), installed + QStringLiteral("/Data")));
  QFile::remove(installed + QStringLiteral("/Data/1001M.idx"));
  QFile::remove(installed + QStringLiteral("/Data/1001M.dat"));
  QTemporaryDir home;
  QTemporaryDir elsewhere;
  StartUpOptions options = Options(elsewhere.path());
  options.search.share_dirs = {share.path().toStdString()};
  options.search.user_data_home = home.path().toStdString();

  CMainDialog dialog;
  ASSERT_TRUE(dialog.StartUp(options));
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
  EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("verbarium/1001M.idx"))));
  EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("verbarium/1001M.dat"))));
  shell_test::TypeLookup(&dialog, QStringLiteral("cat"));
  EXPECT_GT(dialog.senses()->SenseCount(), 0);
}

TEST_F(StartUpTest, NextStartRestoresTheWindowTheHistoryAndTheLastWord) {
  DataFolder data;
  QByteArray splitter_state;
  {
    CMainDialog dialog;
    ASSERT_TRUE(dialog.StartUp(Options(data.path())));
    dialog.resize(900, 640);
    shell_test::TypeLookup(&dialog, QStringLiteral("dog"));
    shell_test::TypeLookup(&dialog, QStringLiteral("cat"));
    splitter_state = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))->saveState();
  }  // shut down: settings and history saved
  CMainDialog dialog;
  ASSERT_TRUE(dialog.StartUp(Options(data.path())));
  EXPECT_EQ(dialog.size(), QSize(900, 640));
  EXPECT_EQ(dialog.findChild<QSplitter*>(QStringLiteral("splitter"))->saveState(), splitter_state);
  CHistoryCombo* box = dialog.tool_row()->LookupBox();
  ASSERT_EQ(box->count(), 2);
  EXPECT_EQ(box->itemText(0), QStringLiteral("cat"));
  EXPECT_EQ(box->itemText(1), QStringLiteral("dog"));
  // The last word is looked up again at start.
  EXPECT_EQ(dialog.lookup()->session()->current_word(), "cat");
  EXPECT_GT(dialog.senses()->SenseCount(), 0);
}

}  // namespace
