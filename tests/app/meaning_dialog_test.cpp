// The "Find by Meaning" window through its controls: typing and Enter, the rows and the count,
// the search's messages, a newer search winning over an older one, and a row's activation.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "app/meaning/meaning_text.h"
#include "app/meaning_ui/FindByMeaningDialog.h"
#include "engine/nymdex.h"
#include "tests/app/meaning_test_util.h"

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

class FindByMeaningDialogTest : public meaning_test::DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    if (!HasFatalFailure()) MakeDialog(data_.IndexPath());
  }
  void TearDown() override {
    dialog_.reset();  // waits for its search before the engine goes
    DictionaryTest::TearDown();
  }

  void MakeDialog(const std::string& index_path) {
    dialog_ = std::make_unique<FindByMeaningDialog>(engine_, &custom_,
                                                    QString::fromStdString(index_path));
    dialog_->show();
  }

  // Types the description into the box and presses Enter; waits for the result on the screen.
  void Search(const QString& text) {
    QSignalSpy shown(dialog_.get(), &FindByMeaningDialog::ResultShown);
    dialog_->description_box()->setText(text);
    QTest::keyClick(dialog_->description_box(), Qt::Key_Return);
    ASSERT_TRUE(shown.wait(5000)) << text.toStdString();
  }

  QStringList Column(int column) const {
    QStringList texts;
    for (int i = 0; i < dialog_->results()->topLevelItemCount(); ++i)
      texts << dialog_->results()->topLevelItem(i)->text(column);
    return texts;
  }
  QString Status() const { return dialog_->status_line()->text(); }

  std::unique_ptr<FindByMeaningDialog> dialog_;
};

TEST_F(FindByMeaningDialogTest, EnterListsTheWordsWithTheirCount) {
  Search(QStringLiteral("someone who makes bread in an oven"));
  const QStringList words = Column(0);
  ASSERT_FALSE(words.isEmpty());
  EXPECT_EQ(words.front(), QStringLiteral("baker"));
  EXPECT_FALSE(words.contains(QStringLiteral("bread")));  // the description's own word
  EXPECT_EQ(Column(1).front(), QStringLiteral("Noun"));
  EXPECT_EQ(Column(2).front(), QStringLiteral("Someone who bakes bread or cake"));  // as listed
  EXPECT_EQ(Status(), QStringLiteral("Found %1 words").arg(words.size()));
  // The first row is current, so the keyboard starts there.
  EXPECT_EQ(dialog_->results()->currentItem(), dialog_->results()->topLevelItem(0));
}

// The messages themselves are the search's; the window shows them in place of the rows.
TEST_F(FindByMeaningDialogTest, MessageOfTheSearchReplacesTheRows) {
  Search(QStringLiteral("a young person"));
  ASSERT_GT(dialog_->results()->topLevelItemCount(), 0);
  Search(QStringLiteral("bread & butter"));
  EXPECT_EQ(dialog_->results()->topLevelItemCount(), 0);
  EXPECT_EQ(Status(), QString::fromLatin1(meaning::kDescriptionInvalidMessage));
}

TEST_F(FindByMeaningDialogTest, MissingIndexIsReportedInTheWindow) {
  MakeDialog(data_.Path("absent.dat"));
  Search(QStringLiteral("a young person"));
  EXPECT_EQ(dialog_->results()->topLevelItemCount(), 0);
  EXPECT_TRUE(Status().contains(QStringLiteral("1001S.dat"))) << Status().toStdString();
}

TEST_F(FindByMeaningDialogTest, NewerSearchIsNeverReplacedByAnOlderOne) {
  QSignalSpy shown(dialog_.get(), &FindByMeaningDialog::ResultShown);
  dialog_->description_box()->setText(QStringLiteral("a tree whose needles fall"));
  dialog_->Find();
  dialog_->description_box()->setText(QStringLiteral("make a pain less severe"));
  dialog_->Find();
  ASSERT_TRUE(shown.wait(5000));
  // Whatever the older search did meanwhile, it shows nothing, now or later.
  QTest::qWait(200);
  EXPECT_EQ(shown.count(), 1);
  const QStringList words = Column(0);
  ASSERT_FALSE(words.isEmpty());
  EXPECT_TRUE(words.front() == QStringLiteral("relieve") ||
              words.front() == QStringLiteral("alleviate"))
      << words.front().toStdString();
  EXPECT_FALSE(words.contains(QStringLiteral("larch")));
}

TEST_F(FindByMeaningDialogTest, ActivatingARowChoosesItsWord) {
  Search(QStringLiteral("a tree whose needles fall"));
  QTreeWidget* list = dialog_->results();
  ASSERT_GE(list->topLevelItemCount(), 2);
  QSignalSpy chosen(dialog_.get(), &FindByMeaningDialog::WordChosen);
  QSignalSpy shown(dialog_.get(), &FindByMeaningDialog::ResultShown);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.at(0).at(0).toString(), list->topLevelItem(0)->text(0));
  // Enter on a row belongs to the row: it never starts a search again.
  QTest::qWait(100);
  EXPECT_EQ(shown.count(), 0);

  const QRect second = list->visualItemRect(list->topLevelItem(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_EQ(chosen.count(), 2);
  EXPECT_EQ(chosen.at(1).at(0).toString(), list->topLevelItem(1)->text(0));
}

}  // namespace
