// Work kept out of the window's first frame: when it runs, and that what it prepared serves the
// first lookup as the lookup would have made it.
#include <QWidget>

#include "app/anagrams/AnagramsView.h"
#include "app/panes/PaneView.h"
#include "app/shell/AfterFirstPaint.h"
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

}  // namespace
