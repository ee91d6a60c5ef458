// The tip of the day over simulated starts: each start builds a dialog from the values the
// last one kept, as the window does with its settings.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include "ui/ModalDialog.h"
#include "ui/TipDlg.h"

namespace {

// Five tips between lines that are none.
constexpr char kTips[] =
    "; comment\n"
    "Welcome tip\n"
    " indented\n"
    "Tip one\n"
    "\n"
    "\tTabbed\n"
    "Tip two\n"
    "Tip three\n"
    ";Tip hidden\n"
    "Tip four\n";

class TipDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ModalDialog::TakeShown();
    WriteTips(kTips);
  }

  void WriteTips(const QByteArray& content) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // A start of the program: the dialog opens with the kept values, `use` works it, and it
  // closes; the values it kept are those of the next start.
  void Start(const std::function<void(CTipDlg&)>& use) {
    CTipDlg dialog(path_, kept_, [this](const CTipDlg::Values& values) { kept_ = values; });
    dialog.Start();
    use(dialog);
    dialog.done(QDialog::Accepted);
  }

  static QString Shown(const CTipDlg& dialog) { return dialog.TipText().trimmed(); }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("tips.dat"));
  CTipDlg::Values kept_;
};

TEST_F(TipDlgTest, FirstStartWelcomesThenTheTipsFollowFromStartToStart) {
  Start([](CTipDlg& dialog) {
    EXPECT_EQ(dialog.Title(), "Welcome");
    EXPECT_EQ(Shown(dialog), "Welcome tip");
    dialog.Next();
    EXPECT_EQ(dialog.Title(), "Did you know...");
    EXPECT_EQ(Shown(dialog), "Tip one");
  });
  EXPECT_EQ(ModalDialog::TakeShown(), QStringList{"tipOfTheDay"});
  EXPECT_EQ(kept_.tip_no, 1);
  EXPECT_FALSE(kept_.time_stamp.isEmpty());

  Start([](CTipDlg& dialog) {
    EXPECT_EQ(dialog.Title(), "Did you know...");
    EXPECT_EQ(Shown(dialog), "Tip two");
  });
}

TEST_F(TipDlgTest, ChangedFileStartsOverAtTipOne) {
  Start([](CTipDlg& dialog) { dialog.Next(), dialog.Next(), dialog.Next(); });
  ASSERT_EQ(kept_.tip_no, 3);
  QFile file(path_);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-3),
                               QFileDevice::FileModificationTime));
  file.close();
  Start([](CTipDlg& dialog) { EXPECT_EQ(Shown(dialog), "Tip one"); });
}

TEST_F(TipDlgTest, StepsSkipNonTipLinesAndWrapBothWays) {
  Start([](CTipDlg&) {});
  Start([](CTipDlg& dialog) {
    ASSERT_EQ(Shown(dialog), "Tip one");
    QStringList forward;
    for (int i = 0; i < 5; ++i) {
      dialog.Next();
      forward << Shown(dialog);
    }
    EXPECT_EQ(forward, QStringList({"Tip two", "Tip three", "Tip four", "Tip one", "Tip two"}));
    dialog.Previous();
    dialog.Previous();
    EXPECT_EQ(Shown(dialog), "Tip four");
  });
}

TEST_F(TipDlgTest, ClearedCheckBoxRunsTheNextStartUnseen) {
  Start([](CTipDlg& dialog) { dialog.findChild<QCheckBox*>("showTips")->setChecked(false); });
  EXPECT_FALSE(kept_.start_up);
  EXPECT_FALSE(kept_.tips);
  ModalDialog::TakeShown();

  Start([](CTipDlg&) {});
  EXPECT_TRUE(ModalDialog::TakeShown().isEmpty());
  EXPECT_FALSE(kept_.tips);
}

TEST(TipFileTest, CountsTipLinesOnly) {
  struct Case {
    const char* name;
    QByteArray content;
    int tips;
  };
  const Case cases[] = {
      {"comments, indents and blank lines", kTips, 5},
      {"blank lines written with CR LF", "a\r\n\r\nb\r\n", 2},
      {"a long line read in pieces of 9,999", QByteArray(19998, 'x') + "\n", 2},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile file(dir.filePath("tips.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(c.content);
    file.close();
    TipFile tips;
    ASSERT_TRUE(tips.Open(file.fileName()));
    EXPECT_EQ(tips.CountTips(), c.tips);
  }
}

}  // namespace
