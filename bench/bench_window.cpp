// The real main window, offscreen, on the compiled dictionary: Enter in the lookup box to the
// senses and panes painted, for "cat" (a new word each time: the window shows "dog" in
// between, outside the timing) and for "cat" again (a refresh that keeps the check boxes).
// Goal: one frame, 16 ms.
#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QTest>
#include <cstdlib>

#include "app/shell/HistoryCombo.h"
#include "app/shell/MainDialog.h"
#include "bench/window_fixture.h"

namespace {

CMainDialog* g_dialog = nullptr;

void EnterAndPaint(const QString& text) {
  QLineEdit* edit = g_dialog->tool_row()->LookupBox()->lineEdit();
  edit->setText(text);
  QTest::keyClick(edit, Qt::Key_Return);
  g_dialog->repaint();  // the whole window, children included, painted now
}

void BM_EnterToPaintedNewWord(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    EnterAndPaint(QStringLiteral("dog"));
    state.ResumeTiming();
    EnterAndPaint(QStringLiteral("cat"));
  }
}
BENCHMARK(BM_EnterToPaintedNewWord)->Unit(benchmark::kMillisecond);

void BM_EnterToPaintedRefresh(benchmark::State& state) {
  EnterAndPaint(QStringLiteral("cat"));
  for (auto _ : state)
    EnterAndPaint(QStringLiteral("cat"));
}
BENCHMARK(BM_EnterToPaintedRefresh)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return window_bench::RunWithMainWindow(argc, argv, &g_dialog);
}
