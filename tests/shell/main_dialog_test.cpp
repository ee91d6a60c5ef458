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

// The check boxes act on the word shown, not on text typed into the box since.
TEST_F(MainDialogTest, UncheckingTheVerbSensesMakesThePanesFollow) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  QTest::keyClicks(Box()->lineEdit(), QStringLiteral("dog"));  // typed, not looked up
  const auto reference = Reference("cat", {kVerb});
  for (size_t row = 0; row < reference->senses().size(); ++row)
    if (reference->senses()[row].pos == kVerb) ClickCheckBox(static_cast<int>(row));
  EXPECT_EQ(dialog_->lookup()->session()->current_word(), "cat");
  std::vector<bool> expected;
  for (const lookup::SenseRow& row : reference->senses())
    expected.push_back(row.checked);
  EXPECT_EQ(Checks(), expected) << "only the clicked rows change";
  EXPECT_EQ(TabTitles(), Titles(*reference));
  EXPECT_NE(Titles(*reference), Titles(*Reference("cat")));
  EXPECT_TRUE(Button(ToolRow::kNouns)->isChecked());
  EXPECT_FALSE(Button(ToolRow::kVerbs)->isChecked());
}

TEST_F(MainDialogTest, LookingUpTheSameWordKeepsUncheckedRows) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  ClickCheckBox(0);
  ASSERT_FALSE(dialog_->senses()->IsSenseChecked(0));
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  EXPECT_FALSE(dialog_->senses()->IsSenseChecked(0)) << "a refresh keeps the rows' states";
  TypeLookup(dialog_.get(), QStringLiteral("dog"));
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  EXPECT_TRUE(dialog_->senses()->IsSenseChecked(0)) << "another word checks every row again";
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

TEST_F(MainDialogTest, PartOfSpeechTogglesCheckTheirRows) {
  TypeLookup(dialog_.get(), QStringLiteral("cat"));
  const auto reference = Reference("cat");
  Button(ToolRow::kVerbs)->click();
  for (size_t row = 0; row < reference->senses().size(); ++row) {
    EXPECT_EQ(dialog_->senses()->IsSenseChecked(static_cast<int>(row)),
              reference->senses()[row].pos != kVerb);
  }
  EXPECT_FALSE(Button(ToolRow::kVerbs)->isChecked());
  EXPECT_EQ(TabTitles(), Titles(*Reference("cat", {kVerb})));
  Button(ToolRow::kVerbs)->click();
  EXPECT_EQ(Checks(), std::vector<bool>(reference->senses().size(), true));
  // Nouns off too: nothing is checked, every tab goes.
  Button(ToolRow::kVerbs)->click();
  Button(ToolRow::kNouns)->click();
  EXPECT_EQ(dialog_->frame()->count(), 0);
  EXPECT_FALSE(Action(Command::kDeselectAll)->isEnabled());
  Action(Command::kSelectAll)->trigger();
  EXPECT_EQ(Checks(), std::vector<bool>(reference->senses().size(), true));
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
    const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QString::fromLatin1(lookup::kInvalidCharactersMessage));
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
  const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0].kind, MessageBox::Kind::kWarning);
  EXPECT_EQ(shown[0].text, QStringLiteral("You are about to clear the lookup history.\nContinue?"));
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
