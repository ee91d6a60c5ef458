// The real main window, offscreen, on the compiled dictionary: Enter in the lookup box to the
// senses and panes painted, for "cat" (a new word each time: the window shows "dog" in
// between, outside the timing) and for "cat" again (a refresh that keeps the check boxes).
// Goal: one frame, 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "app/shell/HistoryCombo.h"
#include "app/shell/MainDialog.h"
#include "app/shell/Settings.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

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
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir scratch;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));
  qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
  QApplication app(argc, argv);
  Settings::UseAsDefaultStore();
  MessageBox::SetTestMode(true);
  FileDialog::SetTestMode(true);

  StartUpOptions options;
  options.current_dir = QFileInfo(QStringLiteral(VERBARIUM_DATA_DIR)).absolutePath();
  options.splash = false;
  auto dialog = std::make_unique<CMainDialog>();
  if (!dialog->StartUp(options)) return 1;
  dialog->resize(1000, 700);
  g_dialog = dialog.get();

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
