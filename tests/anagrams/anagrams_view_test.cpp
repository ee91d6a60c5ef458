// The "Anagrams" tab of the real main window on the compiled dictionary, driven through its
// widgets; what it shows is checked against the anagram list of the lookup library.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>

#include "app/anagrams/AnagramsView.h"
#include "app/lookup/anagram_list.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/panes/WordListCtrl.h"
#include "app/shell/LookupController.h"
#include "tests/shell/shell_test_util.h"

namespace {

using shell_test::TypeLookup;

// Slow to anagram and without a single anagram: a request that runs until it is stopped.
const QString kEndlessText = QStringLiteral("abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvw");

class AnagramsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell_test::ResetSettings();
    dialog_ = shell_test::StartedDialog();
  }

  void SetOptions(uint32_t min_length, uint32_t most, bool permutations, bool sort) {
    Settings& settings = dialog_->settings();
    settings.SetNumber(Setting::kAgMin, min_length);
    settings.SetNumber(Setting::kAgNum, most);
    settings.SetNumber(Setting::kPermutations, permutations);
    settings.SetNumber(Setting::kSortAnagrams, sort);
  }
  // The tab titled `title` chosen as a click on it does.
  void SelectTab(const QString& title) {
    CSplitterTabFrame* frame = dialog_->frame();
    for (int tab = 0; tab < frame->count(); ++tab)
      if (frame->tabText(tab).remove(QLatin1Char('&')) == title)
        frame->tabBar()->setCurrentIndex(tab);
  }
  CAnagramsView* View() const {
    return qobject_cast<CAnagramsView*>(dialog_->frame()->AnagramsView());
  }
  bool Finished() const {
    return QTest::qWaitFor([this] { return !View()->generating(); }, 60000);
  }
  // Looks `word` up, opens the "Anagrams" tab and waits for the request to end.
  void OpenAnagrams(const char* word) {
    TypeLookup(dialog_.get(), QString::fromLatin1(word));
    SelectTab(QStringLiteral("Anagrams"));
    ASSERT_NE(View(), nullptr);
    ASSERT_TRUE(Finished());
  }
  // Starts the request that runs until it is stopped, as Refresh with that text does.
  void StartEndlessRequest() {
    dialog_->tool_row()->LookupBox()->setEditText(kEndlessText);
    View()->findChild<QPushButton*>(QStringLiteral("anagramRefresh"))->click();
    ASSERT_TRUE(View()->generating());
    ASSERT_TRUE(dialog_->busy());
  }
  // What the lookup library's list gives with the settings as they stand.
  QStringList Reference(const char* word, const char* filter = nullptr) const {
    const Settings& settings = dialog_->settings();
    anagram::AnagramRequestArgs args;
    args.word = word;
    args.has_filter = filter != nullptr;
    args.filter = filter != nullptr ? filter : "";
    args.min_length = static_cast<int32_t>(settings.Number(Setting::kAgMin));
    args.max_length = static_cast<int32_t>(settings.Number(Setting::kAgMax));
    args.max_anagrams = static_cast<int32_t>(settings.Number(Setting::kAgNum));
    args.permutations = static_cast<int32_t>(settings.Number(Setting::kPermutations));
    std::vector<std::string> list = lookup::GenerateAnagramList(dialog_->handles().jumble(), args);
    if (settings.Number(Setting::kSortAnagrams) != 0) lookup::SortAnagrams(&list);
    QStringList words;
    for (const std::string& phrase : list)
      words << QString::fromStdString(phrase);
    return words;
  }
  QStringList Shown() const { return View()->List()->Words(); }
  QString Status() const { return dialog_->statusBar()->currentMessage(); }

  std::unique_ptr<CMainDialog> dialog_;
};

TEST_F(AnagramsViewTest, ShowsTheAnagramsWithTheirCount) {
  const struct {
    const char* word;
    uint32_t min_length, most;
    bool permutations, sort;
    const char* status;  // when the count alone does not say
  } cases[] = {
      {"cat", 1, 1, true, true, "Found 1 anagram"},
      {"cat", 4, 1000, true, true, "Found 0 anagrams"},
      {"listen", 1, 1000, true, true, nullptr},
      {"listen", 1, 1000, false, false, nullptr},  // delivery order
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.word) + (c.sort ? " sorted" : " as delivered"));
    SetOptions(c.min_length, c.most, c.permutations, c.sort);
    OpenAnagrams(c.word);
    const QStringList expected = Reference(c.word);
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(Status(), c.status != nullptr
                            ? QString::fromLatin1(c.status)
                            : QStringLiteral("Found %1 anagrams").arg(expected.size()));
    QStringList sorted = expected;
    sorted.sort();
    if (!c.sort && expected.size() > 1) {
      EXPECT_NE(expected, sorted) << "the case shows no order";
    }
    EXPECT_FALSE(dialog_->busy());
  }
}

TEST_F(AnagramsViewTest, LeavingEmptiesAndComingBackRegenerates) {
  OpenAnagrams("listen");
  QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
  SelectTab(QStringLiteral("Synonyms"));
  EXPECT_EQ(View()->List()->Count(), 0);
  EXPECT_EQ(Status(), QString());
  SelectTab(QStringLiteral("Anagrams"));
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Shown(), Reference("listen"));
  EXPECT_EQ(busy.count(), 2) << "one request: busy, then not";
}

TEST_F(AnagramsViewTest, SecondActivationWithoutNewWordStartsNothing) {
  OpenAnagrams("listen");
  QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
  SelectTab(QStringLiteral("Anagrams"));
  View()->OnCurrentKindChanged(lookup::kAnagramsPane, 0);  // as the frame announces a return
  EXPECT_EQ(busy.count(), 0);
  EXPECT_EQ(Shown(), Reference("listen"));
}

TEST_F(AnagramsViewTest, InvalidFilterLeavesTheListAsItWas) {
  dialog_->settings().SetNumber(Setting::kAgMin, 2);
  OpenAnagrams("listen");
  View()->findChild<QCheckBox*>(QStringLiteral("anagramUseFilter"))->click();
  ASSERT_TRUE(Finished());
  const QStringList before = Shown();
  ASSERT_FALSE(before.isEmpty());
  QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
  auto* filter = View()->findChild<QLineEdit*>(QStringLiteral("anagramFilter"));
  const struct {
    const char* filter;
    const char* message;
  } cases[] = {
      {"3-4", anagram::kFilterLengthMismatchMessage},
      {"-6", anagram::kInvalidFilterMessage},
      {"5-1", anagram::kFilterBelowMinimumMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    filter->clear();
    QTest::keyClicks(filter, QString::fromLatin1(c.filter));
    dialog_->statusBar()->showMessage(QStringLiteral("Found 1 anagram"));
    QTest::keyClick(filter, Qt::Key_Return);
    const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QString::fromLatin1(c.message));
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(Status(), QString());
  }
  EXPECT_EQ(busy.count(), 0) << "no request started";
}

TEST_F(AnagramsViewTest, FilterTypedAfterUseFilterNarrowsTheList) {
  OpenAnagrams("listen");
  auto* use_filter = View()->findChild<QCheckBox*>(QStringLiteral("anagramUseFilter"));
  auto* filter = View()->findChild<QLineEdit*>(QStringLiteral("anagramFilter"));
  use_filter->click();  // a request of its own, without a filter yet
  ASSERT_TRUE(Finished());
  ASSERT_TRUE(filter->hasFocus());
  QTest::keyClicks(filter, QStringLiteral("4-2"));
  QTest::keyClick(filter, Qt::Key_Return);
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Shown(), Reference("listen", "4-2"));
  EXPECT_TRUE(filter->hasFocus()) << "typing goes on in the filter box";
  EXPECT_EQ(dialog_->settings().Number(Setting::kFilter), 1u);
}

TEST_F(AnagramsViewTest, RefreshOnBlankTextDoesNothing) {
  OpenAnagrams("listen");
  QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
  dialog_->tool_row()->LookupBox()->setEditText(QStringLiteral("   "));
  View()->findChild<QPushButton*>(QStringLiteral("anagramRefresh"))->click();
  EXPECT_EQ(busy.count(), 0);
  EXPECT_EQ(Shown(), Reference("listen"));
}

TEST_F(AnagramsViewTest, EscapeStopsTheRequest) {
  OpenAnagrams("cat");
  StartEndlessRequest();
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_FALSE(View()->generating());
  EXPECT_FALSE(dialog_->busy());
}

// A new word while a request runs (the hotkey's lookup, say): the old request's anagrams never
// reach the list, and the new word's are complete.
TEST_F(AnagramsViewTest, NewWordMidRequestDropsTheOldRequest) {
  OpenAnagrams("cat");
  StartEndlessRequest();
  dialog_->lookup()->Lookup(QStringLiteral("listen"), true);
  EXPECT_FALSE(View()->generating());
  EXPECT_FALSE(dialog_->busy());
  EXPECT_EQ(View()->List()->Count(), 0);
  SelectTab(QStringLiteral("Anagrams"));
  ASSERT_TRUE(Finished());
  QTest::qWait(50);
  EXPECT_EQ(Shown(), Reference("listen"));
}

// Tabs rebuilt with the anagrams still current (a word whose only tab they are) count as a
// new pane: the list is made again although it has items.
TEST_F(AnagramsViewTest, RebuildKeepingTheTabCurrentRegenerates) {
  OpenAnagrams("listen");
  QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
  View()->OnCurrentKindChanged(lookup::kAnagramsPane, lookup::kAnagramsPane);
  ASSERT_TRUE(Finished());
  EXPECT_EQ(busy.count(), 2);
  EXPECT_EQ(Shown(), Reference("listen"));
}

TEST_F(AnagramsViewTest, QuittingMidRequestEndsCleanly) {
  OpenAnagrams("cat");
  StartEndlessRequest();
  dialog_->close();
  dialog_.reset();  // shut-down waits for the worker before the engines close
  std::unique_ptr<QSettings> stored = Settings::OpenStore();
  EXPECT_TRUE(stored->childGroups().contains(QStringLiteral("History")));
}

TEST_F(AnagramsViewTest, CtrlLeftInTheViewGoesToThePreviousWord) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  OpenAnagrams("listen");
  QTest::keyClick(View()->List(), Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(dialog_->lookup()->session()->current_word(), "cat");
}

}  // namespace
