// The engine started ahead of the window: taken by the window's start-up only for the folder
// it opens, with the outcome the start-up would have had itself.
#include "app/panes/SenseListView.h"
#include "app/shell/EarlyEngineStart.h"
#include "engine/nymdex.h"
#include "tests/shell/shell_test_util.h"

namespace {

using shell_test::DataFolder;
using shell_test::Options;

class EarlyEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { shell_test::ResetSettings(); }

  static platform::DataLocation LocationOf(const StartUpOptions& options) {
    return platform::FindDataLocation(options.current_dir.toStdString(), options.search);
  }
};

// The engine and the irregular forms read on the early thread serve the window's lookups.
TEST_F(EarlyEngineTest, WindowTakesTheEngineAndFormsStartedForItsFolder) {
  DataFolder data;
  ASSERT_TRUE(QFile::link(QDir(QStringLiteral(VERBARIUM_DATA_DIR)).filePath("1001E.dat"),
                          data.DataFile("1001E.dat")));
  StartUpOptions options = Options(data.path());
  EarlyEngineStart early;
  early.Begin(LocationOf(options));
  options.early_engine = &early;
  CMainDialog dialog;
  ASSERT_TRUE(dialog.StartUp(options));
  uint32_t status = 0;
  NymdexEngine* engine = nullptr;
  EXPECT_FALSE(early.Take(LocationOf(options), &status, &engine)) << "already taken";
  lookup::IrregularForms forms;
  EXPECT_FALSE(early.TakeForms(LocationOf(options).DictionaryFile("1001E.dat"), &forms))
      << "already taken";
  ASSERT_TRUE(dialog.handles().irregular_forms().loaded());
  shell_test::TypeLookup(&dialog, QStringLiteral("went"));
  EXPECT_GT(dialog.senses()->SenseCount(), 0) << "went finds go";
}

TEST_F(EarlyEngineTest, EngineStartedForAnotherFolderIsNotUsed) {
  DataFolder damaged;
  damaged.Damage("1001L.dat", [](QByteArray& bytes) { bytes[1000] = ~bytes[1000]; });
  DataFolder intact;
  EarlyEngineStart early;
  early.Begin(LocationOf(Options(damaged.path())));
  StartUpOptions options = Options(intact.path());
  options.early_engine = &early;
  CMainDialog dialog;
  EXPECT_TRUE(dialog.StartUp(options));
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());

  uint32_t status = kNymdexOk;
  NymdexEngine* engine = nullptr;
  ASSERT_TRUE(early.Take(LocationOf(Options(damaged.path())), &status, &engine));
  EXPECT_EQ(status, kNymdexCorrupt);
  EXPECT_EQ(engine, nullptr);
}

TEST_F(EarlyEngineTest, FailedEarlyStartGivesTheWindowItsMessage) {
  DataFolder data;
  data.Damage("1001T.dat", [](QByteArray& bytes) { bytes[70000] = ~bytes[70000]; });
  StartUpOptions options = Options(data.path());
  EarlyEngineStart early;
  early.Begin(LocationOf(options));
  options.early_engine = &early;
  CMainDialog dialog;
  EXPECT_FALSE(dialog.StartUp(options));
  EXPECT_EQ(shell_test::TakeMessages(),
            QStringList{"Error: One of the data files has been corrupted.\nPlease reinstall or "
                        "repair Verbarium."});
}

}  // namespace
