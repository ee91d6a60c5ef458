// The tip of the day at start-up and the print commands, in the real main window. The tip's
// greeting at a first start and its kept file time are tried end to end (tests/e2e).
#include <QAction>
#include <QPrinter>
#include <QProcess>
#include <QTabBar>

#include "app/lookup/panes.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/shell/PrintCommands.h"
#include "tests/shell/shell_test_util.h"
#include "ui/ModalDialog.h"
#include "ui/TipDlg.h"

namespace {

using shell_test::Stored;

class TipsPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell_test::ResetSettings();
    ModalDialog::TakeShown();
  }

  // The tip comes once the window is painted.
  void Start() {
    dialog_ = shell_test::StartedDialog();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Tip() != nullptr; }));
  }

  CTipDlg* Tip() const { return dialog_->findChild<CTipDlg*>(); }

  std::unique_ptr<CMainDialog> dialog_;
};

TEST_F(TipsPrintTest, ShowTipsMenuBringsTheTipBackAfterItsBoxWasCleared) {
  {
    QSettings settings(shell_test::SettingsPath(), QSettings::IniFormat);
    settings.setValue("Settings/Tips", 0);
    settings.setValue("TipOfTheDay/StartUp", 0);
    settings.setValue("TipOfTheDay/TipNo", 2);
  }
  dialog_ = shell_test::StartedDialog();
  // Unseen, the tip still writes the tips file's time.
  ASSERT_TRUE(QTest::qWaitFor([] { return !Stored("TipOfTheDay/TimeStamp").isNull(); }));
  EXPECT_TRUE(ModalDialog::TakeShown().isEmpty());
  QAction* show_tips = dialog_->menus()->Action(Command::kShowTips);
  EXPECT_FALSE(show_tips->isChecked());
  show_tips->trigger();
  dialog_.reset();
  EXPECT_EQ(Stored("Settings/Tips").toInt(), 1);

  Start();
  EXPECT_EQ(ModalDialog::TakeShown(), QStringList{"tipOfTheDay"});
}

TEST_F(TipsPrintTest, PrintSensesPrintsTheListShown) {
  Start();
  shell_test::TypeLookup(dialog_.get(), "cat");
  QTemporaryDir dir;
  const QString file = dir.filePath("senses.pdf");
  QPrinter& printer = dialog_->printing()->printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  ModalDialog::TakeShown();
  ModalDialog::QueueAnswer(QDialog::Accepted);
  dialog_->OnCommand(Command::kPrintSenses);
  EXPECT_EQ(ModalDialog::TakeShown(), QStringList{"printDialog"});

  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-layout", "-l", "1", file, "-"});
  ASSERT_TRUE(pdftotext.waitForFinished(30000));
  const QStringList lines = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\n');
  ASSERT_GT(lines.size(), 2);
  EXPECT_EQ(lines[0].simplified(), "1 Noun");
  EXPECT_TRUE(lines[1].trimmed().startsWith("Feline mammal")) << lines[1].toStdString();
}

TEST_F(TipsPrintTest, PrintPaneOnTheAnagramsTabAsksNothing) {
  Start();
  dialog_->frame()->SetAnagramsViewFactory([](QWidget* parent) { return new QWidget(parent); });
  shell_test::TypeLookup(dialog_.get(), "cat");
  CSplitterTabFrame* frame = dialog_->frame();
  frame->tabBar()->setCurrentIndex(frame->count() - 1);
  ASSERT_EQ(frame->CurrentKind(), lookup::kAnagramsPane);
  ModalDialog::TakeShown();
  dialog_->OnCommand(Command::kPrintPane);
  EXPECT_TRUE(ModalDialog::TakeShown().isEmpty());

  frame->tabBar()->setCurrentIndex(0);
  dialog_->OnCommand(Command::kPreviewPane);
  dialog_->OnCommand(Command::kPrintSetup);
  EXPECT_EQ(ModalDialog::TakeShown(), QStringList({"printPreview", "pageSetup"}));
}

}  // namespace
