// The "Anagrams" tab of the real main window on the compiled dictionary, driven through its
// widgets; what it shows is checked against the anagram list of the lookup library.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>

#include "app/anagrams/AnagramsView.h"
#include "app/lookup/anagram_list.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/panes/WordListCtrl.h"
#include "app/shell/LookupController.h"
#include "tests/shell/shell_test_util.h"

namespace {

using shell_test::TypeLookup;

class AnagramsViewTest : public shell_test::WindowTest {
 public:
  using WindowTest::Box;  // for the cases' steps
  using WindowTest::dialog_;
  void SelectTab(const QString& title) { shell_test::SelectTab(dialog_.get(), title); }
  CAnagramsView* View() const {
    return qobject_cast<CAnagramsView*>(dialog_->frame()->AnagramsView());
  }
  template <typename T>
  T* Child(const char* name) const {
    return View()->findChild<T*>(QString::fromLatin1(name));
  }
  bool Finished() const {
    return QTest::qWaitFor([this] { return !View()->generating(); }, 60000);
  }
  // Looks `word` up, opens the "Anagrams" tab and waits for its list.
  void OpenAnagrams(const char* word) {
    TypeLookup(dialog_.get(), QString::fromLatin1(word));
    SelectTab(QStringLiteral("Anagrams"));
    ASSERT_NE(View(), nullptr);
    ASSERT_TRUE(Finished());
  }
  // Refresh with a text that takes long and has no anagram: a request that runs until stopped.
  void StartEndlessRequest() {
    Box()->setEditText(QStringLiteral("abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvw"));
    Child<QPushButton>("anagramRefresh")->click();
    ASSERT_TRUE(View()->generating() && dialog_->busy());
  }
  // The lookup library's list for the settings as they stand.
  QStringList Reference(const char* word, const char* filter = "") const {
    const Settings& settings = dialog_->settings();
    anagram::AnagramRequestArgs args;
    anagram::BuildAnagramRequest(word, filter,
                                 {static_cast<int32_t>(settings.Number(Setting::kAgMin)),
                                  static_cast<int32_t>(settings.Number(Setting::kAgMax)),
                                  static_cast<int32_t>(settings.Number(Setting::kAgNum)),
                                  settings.Number(Setting::kPermutations) != 0, *filter != '\0'},
                                 &args);
    std::vector<std::string> list = lookup::GenerateAnagramList(dialog_->handles().jumble(), args);
    if (settings.Number(Setting::kSortAnagrams) != 0) lookup::SortAnagrams(&list);
    QStringList words;
    for (const std::string& phrase : list)
      words << QString::fromStdString(phrase);
    return words;
  }
  QStringList Shown() const { return View()->List()->Words(); }
  QString Status() const { return dialog_->statusBar()->currentMessage(); }
};

TEST_F(AnagramsViewTest, ShowsTheAnagramsWithTheirCount) {
  const struct {
    const char* word;
    uint32_t min_length, most;
    bool permutations, sort;
  } cases[] = {
      {"cat", 1, 1, true, true},        // "Found 1 anagram"
      {"listen", 1, 1000, true, true},  // sorted, "eat tea" before "eats"
      {"listen", 1, 1000, false, false},
      {"cat", 4, 1000, true, true},  // "Found 0 anagrams"; a word of the history, not its first
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.word) + (c.sort ? " sorted" : " as delivered"));
    Settings& settings = dialog_->settings();
    settings.SetNumber(Setting::kAgMin, c.min_length);
    settings.SetNumber(Setting::kAgNum, c.most);
    settings.SetNumber(Setting::kPermutations, c.permutations);
    settings.SetNumber(Setting::kSortAnagrams, c.sort);
    OpenAnagrams(c.word);
    const QStringList expected = Reference(c.word);
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(Status(), QString::fromStdString(lookup::AnagramStatusText(expected.size())));
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_TRUE(c.sort || expected != sorted) << "the delivery order is not seen";
    EXPECT_FALSE(dialog_->busy());
  }
}

// A request starts for a new pane only: coming back, or new tabs that keep the anagrams
// current (a word whose only tab they are); not for a second activation or a blank Refresh.
TEST_F(AnagramsViewTest, RequestsStartForANewPaneOnly) {
  const struct {
    const char* name;
    std::function<void(AnagramsViewTest*)> act;
    int requests;
  } cases[] = {
      {"left and come back",
       [](AnagramsViewTest* t) {
         t->SelectTab(QStringLiteral("Synonyms"));
         EXPECT_EQ(t->View()->List()->Count(), 0);
         EXPECT_EQ(t->Status(), QString());
         t->SelectTab(QStringLiteral("Anagrams"));
       },
       1},
      {"rebuilt tabs",
       [](AnagramsViewTest* t) {
         t->View()->OnCurrentKindChanged(lookup::kAnagramsPane, lookup::kAnagramsPane);
       },
       1},
      {"second activation",
       [](AnagramsViewTest* t) { t->View()->OnCurrentKindChanged(lookup::kAnagramsPane, 0); }, 0},
      {"blank Refresh",
       [](AnagramsViewTest* t) {
         t->Box()->setEditText(QStringLiteral("   "));
         t->Child<QPushButton>("anagramRefresh")->click();
       },
       0},
  };
  OpenAnagrams("listen");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
    c.act(this);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(busy.count(), 2 * c.requests);
    EXPECT_EQ(Shown(), Reference("listen"));
  }
}

TEST_F(AnagramsViewTest, InvalidFilterLeavesTheListAsItWas) {
  OpenAnagrams("listen");
  Child<QCheckBox>("anagramUseFilter")->click();
  ASSERT_TRUE(Finished());
  const QStringList before = Shown();
  QSignalSpy busy(View(), &CAnagramsView::BusyChanged);
  QTest::keyClicks(Child<QLineEdit>("anagramFilter"), QStringLiteral("3-4"));
  QTest::keyClick(Child<QLineEdit>("anagramFilter"), Qt::Key_Return);
  EXPECT_EQ(shell_test::TakeMessages(),
            QStringList{"Error: " + QString::fromLatin1(anagram::kFilterLengthMismatchMessage)});
  EXPECT_EQ(Shown(), before);
  EXPECT_EQ(Status(), QString());
  EXPECT_EQ(busy.count(), 0) << "no request started";
}

// "Use Filter" puts the focus into the filter box; it is there again after the request, so
// the filter is typed there and Enter applies it.
TEST_F(AnagramsViewTest, FilterTypedAfterUseFilterNarrowsTheList) {
  OpenAnagrams("listen");
  auto* filter = Child<QLineEdit>("anagramFilter");
  Child<QCheckBox>("anagramUseFilter")->click();
  ASSERT_TRUE(Finished());
  ASSERT_TRUE(filter->hasFocus());
  QTest::keyClicks(filter, QStringLiteral("4-2"));
  QTest::keyClick(filter, Qt::Key_Return);
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Shown(), Reference("listen", "4-2"));
  EXPECT_TRUE(filter->hasFocus());
  EXPECT_EQ(dialog_->settings().Number(Setting::kFilter), 1u);
}

// A request cut short (Escape; a new word, as the hotkey brings one): the window is usable
// again, and the next request's list is its own and complete.
TEST_F(AnagramsViewTest, InterruptedRequestLeavesNothingBehind) {
  const std::pair<const char*, std::function<void(CMainDialog*)>> cases[] = {
      {"Escape", [](CMainDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }},
      {"new word",
       [](CMainDialog* dialog) { dialog->lookup()->Lookup(QStringLiteral("silent"), true); }},
  };
  for (const auto& [name, interrupt] : cases) {
    SCOPED_TRACE(name);
    OpenAnagrams("cat");
    StartEndlessRequest();
    interrupt(dialog_.get());
    EXPECT_FALSE(View()->generating());
    EXPECT_FALSE(dialog_->busy());
    OpenAnagrams("listen");
    QTest::qWait(20);
    EXPECT_EQ(Shown(), Reference("listen"));
  }
}

TEST_F(AnagramsViewTest, QuittingMidRequestEndsCleanly) {
  OpenAnagrams("cat");
  StartEndlessRequest();
  dialog_->close();
  dialog_.reset();  // the shut-down waits for the worker before the engines close
  EXPECT_TRUE(Settings::OpenStore()->childGroups().contains(QStringLiteral("History")));
}

}  // namespace
