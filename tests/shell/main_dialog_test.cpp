// The real main window on the compiled dictionary, driven through its widgets.
#include <QAction>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app/lookup/lookup.h"
#include "app/meaning_ui/FindByMeaningDialog.h"
#include "app/panes/PanePickTreeCtrl.h"
#include "app/panes/PaneView.h"
#include "app/panes/SenseListView.h"
#include "app/shell/FindByMeaningCommand.h"
#include "app/shell/LookupController.h"
#include "app/shell/OptionsSheet.h"
#include "engine/nymdex.h"
#include "tests/shell/shell_test_util.h"

namespace {

using shell_test::TypeLookup;

class MainDialogTest : public shell_test::WindowTest {
 protected:
  // What the lookup logic gives for `text` with the rows of the parts of speech in
  // `unchecked` unchecked: the reference the window is checked against.
  std::unique_ptr<lookup::LookupSession> Reference(const char* text,
                                                   std::vector<uint32_t> unchecked = {}) {
    auto session = std::make_unique<lookup::LookupSession>(dialog_->handles().engine(),
                                                           dialog_->handles().custom_handle());
    session->Lookup(text);
    for (uint32_t pos : unchecked)
      session->SetCheckedByPos(pos, false);
    session->RebuildPanes();
    return session;
  }

  QStringList TabTitles() const {
    QStringList titles;
    for (int i = 0; i < dialog_->frame()->count(); ++i)
      titles << dialog_->frame()->tabText(i).remove(QLatin1Char('&'));
    return titles;
  }
  static QStringList Titles(const lookup::LookupSession& session) {
    QStringList titles;
    for (const lookup::PaneTab& tab : session.tabs())
      titles << QString::fromLatin1(lookup::PaneTitle(tab.kind));
    return titles;
  }
  std::vector<bool> Checks() const {
    std::vector<bool> checks;
    for (int i = 0; i < dialog_->senses()->SenseCount(); ++i)
      checks.push_back(dialog_->senses()->IsSenseChecked(i));
    return checks;
  }
  QToolButton* Button(ToolRow::Button button) const {
    return dialog_->tool_row()->ButtonOf(button);
  }
  // Clicks the check box of the senses list's row `row`.
  void ClickCheckBox(int row) {
    CSenseListView* senses = dialog_->senses();
    senses->scrollTo(senses->model()->index(row, 0));
    const QRect cell = senses->visualRect(senses->model()->index(row, 0));
    QTest::mouseClick(senses->viewport(), Qt::LeftButton, {}, cell.center());
  }
};

TEST_F(MainDialogTest, LookupShowsTheSensesAndPanesOfTheLookupLogic) {
  TypeLookup(dialog_.get(), QStringLiteral("  Cats "));
  const auto reference = Reference("cat");
  ASSERT_GT(reference->senses().size(), 8u);
  EXPECT_EQ(dialog_->senses()->SenseCount(), static_cast<int>(reference->senses().size()));
  EXPECT_EQ(Checks(), std::vector<bool>(reference->senses().size(), true));
  EXPECT_EQ(TabTitles(), Titles(*reference));
  EXPECT_EQ(UpperView(), QStringLiteral("senses"));
  EXPECT_TRUE(Button(ToolRow::kNouns)->isEnabled() && Button(ToolRow::kNouns)->isChecked());
  EXPECT_TRUE(Button(ToolRow::kVerbs)->isEnabled() && Button(ToolRow::kVerbs)->isChecked());
  EXPECT_FALSE(Button(ToolRow::kAdverbs)->isEnabled());
  // The focus is back in the lookup box with its text selected; the text went to the history.
  EXPECT_TRUE(Box()->hasFocus());
  EXPECT_EQ(Box()->lineEdit()->selectedText(), Box()->currentText());
  EXPECT_EQ(Box()->itemText(0), QStringLiteral("cats"));
}

// Unchecking the verb rows, by their check boxes or by the Verbs toggle, acts on the word
// shown (not on text typed into the box since): the panes and the toggles follow, a refresh
// of the word keeps the rows' states and another word checks every row again.
TEST_F(MainDialogTest, UncheckedVerbSensesTakeTheirPanesAway) {
  const auto all = Reference("cat");
  const auto reference = Reference("cat", {kVerb});
  std::vector<bool> expected;
  for (const lookup::SenseRow& row : reference->senses())
    expected.push_back(row.checked);
  ASSERT_NE(Titles(*reference), Titles(*all));
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"check boxes",
       [&] {
         for (size_t row = 0; row < all->senses().size(); ++row)
           if (all->senses()[row].pos == kVerb) ClickCheckBox(static_cast<int>(row));
       }},
      {"Verbs toggle", [&] { Button(ToolRow::kVerbs)->click(); }},
  };
  for (const auto& [name, uncheck] : ways) {
    SCOPED_TRACE(name);
    TypeLookup(dialog_.get(), QStringLiteral("dog"));
    TypeLookup(dialog_.get(), QStringLiteral("cat"));
    ASSERT_EQ(Checks(), std::vector<bool>(all->senses().size(), true));
    QTest::keyClicks(Box()->lineEdit(), QStringLiteral("bird"));  // typed, not looked up
    uncheck();
    EXPECT_EQ(dialog_->lookup()->session()->current_word(), "cat");
    EXPECT_EQ(Checks(), expected) << "only the verb rows change";
    EXPECT_EQ(TabTitles(), Titles(*reference));
    EXPECT_TRUE(Button(ToolRow::kNouns)->isChecked());
    EXPECT_FALSE(Button(ToolRow::kVerbs)->isChecked());
    TypeLookup(dialog_.get(), QStringLiteral("cat"));
    EXPECT_EQ(Checks(), expected) << "a refresh keeps the rows' states";
  }
}

TEST_F(MainDialogTest, PatternListsItsMatchesWithTheStatusText) {
  struct Case {
    const char* pattern;
    const char* status;
    const char* first;
  };
  const Case cases[] = {{"c?t", "Found 4 matches", "cat"},
                        {"ice ?ream", "Found 1 match", "ice cream"},
                        {"qqq*", "Found 0 matches", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    TypeLookup(dialog_.get(), QString::fromLatin1(c.pattern));
    EXPECT_EQ(TabTitles(), QStringList{QStringLiteral("Matches")});
    EXPECT_EQ(dialog_->statusBar()->currentMessage(), QString::fromLatin1(c.status));
    EXPECT_EQ(UpperView(), QStringLiteral("patternList"));
    EXPECT_EQ(dialog_->senses()->SenseCount(), 0);
    const QStringList words = dialog_->frame()->CurrentWords();
    if (c.first != nullptr) {
      EXPECT_EQ(words.value(0), QString::fromLatin1(c.first));
    }
  }
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  EXPECT_TRUE(dialog_->statusBar()->currentMessage().isEmpty());
}

TEST_F(MainDialogTest, DoubleClickInAPaneLooksTheWordUpAndAddsItToTheHistory) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  auto* pane = dialog_->findChild<CPaneView*>(QStringLiteral("pane:Kind of"));
  ASSERT_NE(pane, nullptr);
  dialog_->frame()->setCurrentWidget(pane);
  QApplication::processEvents();
  const QString word = pane->Words().value(0);
  ASSERT_FALSE(word.isEmpty());
  const QRect rect = pane->visualRect(pane->model()->index(0, 0));
  // A double click is a click followed by the second press.
  QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, rect.center());

  EXPECT_EQ(Box()->itemText(0), word);
  EXPECT_EQ(Box()->currentText(), word);
  EXPECT_EQ(dialog_->lookup()->session()->current_word(), word.toStdString());
  EXPECT_GT(dialog_->senses()->SenseCount(), 0);
}

TEST_F(MainDialogTest, LastAndNextWordWalkTheHistory) {
  struct Step {
    const char* action;  // "lookup WORD", "last", "next", "ctrl+left", "ctrl+right"
    const char* shown;
    bool last_enabled;
    bool next_enabled;
  };
  const Step steps[] = {
      {"lookup cat", "cat", false, false},  // one entry: both disabled
      {"lookup dog", "dog", true, false},  {"lookup bird", "bird", true, false},
      {"last", "dog", true, true},         {"ctrl+left", "cat", false, true},
      {"ctrl+left", "cat", false, true},  // nothing older
      {"next", "dog", true, true},         {"ctrl+right", "bird", true, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.action);
    const QString action = QString::fromLatin1(step.action);
    if (action.startsWith(QStringLiteral("lookup "))) {
      TypeLookup(dialog_.get(), action.mid(7));
    } else if (action == QStringLiteral("last")) {
      Button(ToolRow::kLastWord)->click();
    } else if (action == QStringLiteral("next")) {
      Button(ToolRow::kNextWord)->click();
    } else {
      QTest::keyClick(Box()->lineEdit(),
                      action == QStringLiteral("ctrl+left") ? Qt::Key_Left : Qt::Key_Right,
                      Qt::ControlModifier);
    }
    EXPECT_EQ(QString::fromStdString(dialog_->lookup()->session()->current_word()),
              QString::fromLatin1(step.shown));
    EXPECT_EQ(Button(ToolRow::kLastWord)->isEnabled(), step.last_enabled);
    EXPECT_EQ(Button(ToolRow::kNextWord)->isEnabled(), step.next_enabled);
  }
}

TEST_F(MainDialogTest, NothingCheckedLeavesNoPanesUntilSelectAll) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  const std::vector<bool> all(dialog_->senses()->SenseCount(), true);
  const QStringList titles = TabTitles();
  Button(ToolRow::kVerbs)->click();
  Button(ToolRow::kVerbs)->click();
  EXPECT_EQ(Checks(), all) << "a toggle turned on again checks its rows";
  Button(ToolRow::kVerbs)->click();
  Button(ToolRow::kNouns)->click();
  EXPECT_EQ(dialog_->frame()->count(), 0);
  EXPECT_FALSE(Action(Command::kDeselectAll)->isEnabled());
  Action(Command::kSelectAll)->trigger();
  EXPECT_EQ(Checks(), all);
  EXPECT_EQ(TabTitles(), titles);
}

TEST_F(MainDialogTest, PanesPageOkHidesTheUncheckedPanes) {
  dialog_->settings().SetNumber(Setting::kPanes, 0x80FFFFFF);
  dialog_->lookup()->SetPanesMask(0x80FFFFFF);
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  ASSERT_TRUE(TabTitles().contains(QStringLiteral("Synonyms")));
  Action(Command::kSettings)->trigger();
  auto* sheet = dialog_->findChild<COptionsSheet*>(QStringLiteral("optionsSheet"));
  ASSERT_NE(sheet, nullptr);
  auto* tree = sheet->findChild<CPanePickTreeCtrl*>(QStringLiteral("paneTree"));
  ASSERT_NE(tree, nullptr);
  QTreeWidgetItem* synonyms = tree->topLevelItem(0)->child(0);
  ASSERT_EQ(synonyms->text(0), QStringLiteral("Synonyms"));
  synonyms->setCheckState(0, Qt::Unchecked);
  sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();

  EXPECT_FALSE(TabTitles().contains(QStringLiteral("Synonyms")));
  EXPECT_TRUE(TabTitles().contains(QStringLiteral("Kind of")));
  EXPECT_EQ(dialog_->settings().Number(Setting::kPanes), 0x80FFFFFEu) << "bits 22-31 kept";
}

TEST_F(MainDialogTest, TextThatIsNoWordGetsItsOutcome) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  const int senses = dialog_->senses()->SenseCount();
  for (const char* text : {"c?t!", "cat2", "rock'n?roll"}) {
    SCOPED_TRACE(text);
    const int entries = Box()->count();
    TypeLookup(dialog_.get(), QString::fromLatin1(text));
    EXPECT_EQ(shell_test::TakeMessages(),
              QStringList{"Error: " + QString::fromLatin1(lookup::kInvalidCharactersMessage)});
    EXPECT_EQ(dialog_->senses()->SenseCount(), senses) << "nothing else changes";
    EXPECT_EQ(UpperView(), QStringLiteral("senses"));
    EXPECT_LE(Box()->count(), entries + 1);
  }
  // Letters and spaces that are no word: the help form, no tabs, no message. Control
  // characters and other scripts never crash.
  for (const QString& text : {QStringLiteral("qwzx vbnm"), QStringLiteral("\x01\x02\t"),
                              QStringLiteral("\u00e9t\u00e9"), QString(60, QChar(0x4e2d))}) {
    shell_test::PasteLookup(dialog_.get(), text);
    MessageBox::TakeShown();
  }
  TypeLookup(dialog_.get(), QStringLiteral("qwzx vbnm"));
  EXPECT_EQ(UpperView(), QStringLiteral("helpForm"));
  EXPECT_EQ(dialog_->frame()->count(), 0);
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
}

TEST_F(MainDialogTest, ClearHistoryAsksFirst) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  TypeLookup(dialog_.get(), QStringLiteral("dog"));
  QAction* clear = Action(Command::kClearHistory);
  ASSERT_TRUE(clear->isEnabled());
  MessageBox::QueueAnswer(QMessageBox::No);
  clear->trigger();
  EXPECT_EQ(Box()->count(), 2);
  MessageBox::QueueAnswer(QMessageBox::Yes);
  clear->trigger();
  EXPECT_EQ(Box()->count(), 0);
  EXPECT_EQ(Box()->currentText(), QStringLiteral("dog")) << "the box keeps its text";
  EXPECT_FALSE(clear->isEnabled());
  const QString question =
      QStringLiteral("Warning: You are about to clear the lookup history.\nContinue?");
  EXPECT_EQ(shell_test::TakeMessages(), QStringList({question, question}));
}

TEST_F(MainDialogTest, BusyStateDisablesTheWindowAndGivesTheButtonsBack) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  TypeLookup(dialog_.get(), QStringLiteral("dog"));
  const uint8_t before = dialog_->tool_row()->SavedStates();
  dialog_->EnterBusy();
  EXPECT_FALSE(Box()->isEnabled());
  EXPECT_FALSE(Button(ToolRow::kHelp)->isEnabled());
  EXPECT_FALSE(dialog_->senses()->isEnabled());
  EXPECT_FALSE(dialog_->menuBar()->actions().value(0)->isEnabled());
  Action(Command::kLookup)->trigger();  // ignored while busy
  EXPECT_EQ(dialog_->lookup()->session()->current_word(), "dog");
  dialog_->LeaveBusy();
  EXPECT_EQ(dialog_->tool_row()->SavedStates(), before);
  EXPECT_TRUE(Box()->isEnabled() && Button(ToolRow::kLookup)->isEnabled());
  EXPECT_TRUE(dialog_->frame()->isEnabled());
  EXPECT_TRUE(Box()->hasFocus());
}

TEST_F(MainDialogTest, FindByMeaningLooksTheChosenWordUpWithItsHistory) {
  QTest::keyClick(Box()->lineEdit(), Qt::Key_M, Qt::ControlModifier);
  FindByMeaningDialog* meaning = dialog_->find_by_meaning()->dialog();
  ASSERT_NE(meaning, nullptr);
  EXPECT_TRUE(meaning->isVisible());
  EXPECT_FALSE(meaning->isModal());

  QSignalSpy shown(meaning, &FindByMeaningDialog::ResultShown);
  meaning->description_box()->setText(QStringLiteral("a person who bakes bread"));
  QTest::keyClick(meaning->description_box(), Qt::Key_Return);
  ASSERT_TRUE(shown.wait(10000));
  QTreeWidget* list = meaning->results();
  ASSERT_GT(list->topLevelItemCount(), 0);
  const QString word = list->topLevelItem(0)->text(0);
  EXPECT_EQ(word, QStringLiteral("baker"));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);

  EXPECT_EQ(Box()->currentText(), word);
  EXPECT_EQ(Box()->itemText(0), word);
  EXPECT_EQ(dialog_->lookup()->session()->current_word(), word.toStdString());
  EXPECT_GT(dialog_->senses()->SenseCount(), 0);
}

}  // namespace
