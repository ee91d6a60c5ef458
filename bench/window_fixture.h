// What the benchmarks of the real main window share: a process set up as the window's tests
// set theirs up (offscreen, scratch settings and data folders, message boxes and file dialogs
// answered by their test modes), the main window started on the build's Data/, then the
// benchmarks run against it.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "app/shell/MainDialog.h"
#include "app/shell/Settings.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

namespace window_bench {

// Starts the window at 1000 x 700, stores it in *dialog for the benchmarks and runs those
// that the command line selects; the process's exit status.
inline int RunWithMainWindow(int argc, char** argv, CMainDialog** dialog) {
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
  auto window = std::make_unique<CMainDialog>();
  if (!window->StartUp(options)) return 1;
  window->resize(1000, 700);
  *dialog = window.get();

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  *dialog = nullptr;
  return 0;
}

}  // namespace window_bench
