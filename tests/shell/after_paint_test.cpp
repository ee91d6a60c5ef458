// Work kept out of the window's first frame: when it runs, and that what it prepared serves the
// first lookup as the lookup would have made it.
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

#include "app/anagrams/AnagramsView.h"
#include "app/panes/PaneView.h"
#include "app/panes/SenseListView.h"
#include "app/panes/WordFormsBar.h"
#include "app/shell/AfterFirstPaint.h"
#include "app/shell/LookupController.h"
#include "tests/shell/shell_test_util.h"

namespace {

// Long enough for a paint and an activation to arrive; shorter than the wait for activation.
constexpr int kSettleMs = 100;

// A window that is painted but never active, as a desktop that refuses activation leaves it
// (the offscreen platform activates every window but a tool tip).
TEST(AfterFirstPaintTest, WindowNeverActivatedHasTheActionAfterAWait) {
  QWidget window(nullptr, Qt::ToolTip);
  int runs = 0;
  RunAfterFirstPaint(&window, [&] { ++runs; });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(kSettleMs);
  ASSERT_FALSE(window.isActiveWindow());
  EXPECT_EQ(runs, 0) << "painted, waiting for the activation";
  EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 1; }));
}

TEST(AfterFirstPaintTest, WindowThatStartsHiddenHasTheActionOnce) {
  QWidget window;
  int runs = 0;
  RunAfterFirstPaintOrWhenHidden(&window, [&] { ++runs; });
  QTest::qWait(kSettleMs);
  EXPECT_EQ(runs, 1) << "hidden when the event loop ran";
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::qWait(kSettleMs);
  EXPECT_EQ(runs, 1) << "not again at its first paint";
}

// What arrives during a step (input, a paint) runs before the next step.
TEST(AfterFirstPaintTest, StepsRunInTurnsOfTheirOwn) {
  QObject context;
  QStringList log;
  RunInTurns(&context, {[&] {
                          log << "first";
                          QTimer::singleShot(0, [&] { log << "input"; });
                        },
                        [&] { log << "second"; }, [&] { log << "third"; }});
  EXPECT_TRUE(log.isEmpty()) << "none at once";
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() == 4; }));
  EXPECT_EQ(log, (QStringList{"first", "input", "second", "third"}));
}

TEST(AfterFirstPaintTest, StepsLeftAreDroppedWithTheirContext) {
  auto context = std::make_unique<QObject>();
  QStringList log;
  RunInTurns(context.get(), {[&] {
                               log << "first";
                               QTimer::singleShot(0, [&] { context.reset(); });
                             },
                             [&] { log << "second"; }});
  ASSERT_TRUE(QTest::qWaitFor([&] { return context == nullptr; }));
  QTest::qWait(kSettleMs);
  EXPECT_EQ(log, QStringList{"first"});
}

// The views the warm-up makes after the first paint are the ones the first lookup shows.
TEST(AfterFirstPaintTest, FirstLookupShowsTheViewsMadeAhead) {
  shell_test::ResetSettings();
  std::unique_ptr<CMainDialog> dialog = shell_test::StartedDialog();
  CSplitterTabFrame* frame = dialog->frame();
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->AnagramsView() != nullptr; }));
  QWidget* anagrams = frame->AnagramsView();
  const QList<CPaneView*> panes = frame->findChildren<CPaneView*>();
  EXPECT_EQ(frame->count(), 0) << "made, not shown";

  shell_test::TypeLookup(dialog.get(), QStringLiteral("cat"));
  ASSERT_GT(frame->count(), 0);
  ASSERT_TRUE(panes.contains(qobject_cast<CPaneView*>(frame->currentWidget())));
  EXPECT_TRUE(frame->CurrentWords().contains(QStringLiteral("true cat")));
  shell_test::SelectTab(dialog.get(), QStringLiteral("Anagrams"));
  ASSERT_EQ(frame->currentWidget(), anagrams);
  auto* view = qobject_cast<CAnagramsView*>(anagrams);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view->generating(); }, 30000));
  EXPECT_TRUE(view->List()->Words().contains(QStringLiteral("act")));
}

// The warm-up runs a lookup through the window's own views, draws them and undoes it all.
TEST(AfterFirstPaintTest, WarmUpLeavesNoTrace) {
  shell_test::ResetSettings();
  std::unique_ptr<CMainDialog> dialog = shell_test::StartedDialog();
  LookupController* lookup = dialog->lookup();
  ToolRow* tools = dialog->tool_row();
  QLineEdit* edit = tools->LookupBox()->lineEdit();
  auto* forms = dialog->findChild<WordFormsBar*>();
  auto* upper = dialog->findChild<QStackedWidget*>(QStringLiteral("upperView"));
  QTest::keyClicks(edit, QStringLiteral("hous"));
  edit->setSelection(1, 2);
  dialog->statusBar()->showMessage(QStringLiteral("Loading"));
  tools->SetToggle(ToolRow::kVerbs, true);
  const uint8_t enabled = tools->SavedStates();
  const int history = tools->LookupBox()->count();
  QWidget* const shown_upper = upper->currentWidget();
  dialog->settings().Save();
  QFile file(shell_test::SettingsPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray stored = file.readAll();
  file.close();
  QSignalSpy states(lookup, &LookupController::StateChanged);
  QSignalSpy kinds(dialog->frame(), &CSplitterTabFrame::CurrentKindChanged);

  int senses_drawn = 0;
  int tabs_drawn = 0;
  bool forms_drawn = false;
  ASSERT_TRUE(lookup->WarmUp(QStringLiteral("lights"), [&] {
    senses_drawn = dialog->senses()->SenseCount();
    tabs_drawn = dialog->frame()->count();
    forms_drawn = forms->isVisibleTo(dialog.get());
  }));
  EXPECT_GT(senses_drawn, 0);
  EXPECT_GT(tabs_drawn, 0);
  EXPECT_TRUE(forms_drawn);

  EXPECT_EQ(dialog->senses()->SenseCount(), 0);
  EXPECT_EQ(dialog->frame()->count(), 0);
  EXPECT_FALSE(forms->isVisibleTo(dialog.get()));
  EXPECT_EQ(upper->currentWidget(), shown_upper);
  EXPECT_EQ(lookup->session()->current_word(), "");
  EXPECT_EQ(edit->text(), QStringLiteral("hous"));
  EXPECT_EQ(edit->selectionStart(), 1);
  EXPECT_EQ(edit->selectedText(), QStringLiteral("ou"));
  EXPECT_EQ(tools->LookupBox()->count(), history);
  EXPECT_EQ(dialog->statusBar()->currentMessage(), QStringLiteral("Loading"));
  EXPECT_EQ(tools->SavedStates(), enabled);
  EXPECT_TRUE(tools->Toggle(ToolRow::kVerbs));
  EXPECT_EQ(states.count(), 0);
  EXPECT_EQ(kinds.count(), 0);
  dialog->settings().Save();
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), stored);
  file.close();

  // The first real lookup shows its own word, and from then on the warm-up does nothing.
  shell_test::TypeLookup(dialog.get(), QStringLiteral("cat"));
  EXPECT_EQ(lookup->session()->current_word(), "cat");
  EXPECT_FALSE(forms->isVisibleTo(dialog.get()));
  const int cat_senses = dialog->senses()->SenseCount();
  EXPECT_FALSE(lookup->WarmUp(QStringLiteral("lights"), [] { ADD_FAILURE() << "drawn"; }));
  EXPECT_EQ(dialog->senses()->SenseCount(), cat_senses);
  EXPECT_EQ(lookup->session()->current_word(), "cat");
}

}  // namespace
