// The main of every widget test program. Widgets run on the offscreen platform, so no display
// is needed; settings (XDG_CONFIG_HOME) and user data (XDG_DATA_HOME) live in a scratch folder
// that is removed at the end; message boxes, file dialogs and the other modal dialogs never
// block. Listing the tests (ctest's discovery at build time) creates no application at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstring>

#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/ModalDialog.h"

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i)
    listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
  ::testing::InitGoogleTest(&argc, argv);
  if (listing) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir scratch;
  if (!scratch.isValid()) return 2;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath("config")));
  qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath("data")));
  QApplication app(argc, argv);
  MessageBox::SetTestMode(true);
  FileDialog::SetTestMode(true);
  ModalDialog::SetTestMode(true);
  return RUN_ALL_TESTS();
}
