// Helpers of the window's tests: a fresh settings file per test, a scratch folder whose Data/
// links to the compiled dictionary (with files left out or damaged on request), the real main
// window started on it, and a fixture around that window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/panes/SplitterTabFrame.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/MainDialog.h"
#include "app/shell/Settings.h"
#include "ui/MessageBox.h"

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '[' << texts.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace shell_test {

inline const char* const kDataFiles[] = {"1001L.dat", "1001W.dat", "1001T.dat",
                                         "1001A.dat", "1001S.dat", "1001M.idx",
                                         "1001M.dat", "tips.dat",  "verbarium.bmp"};

// The settings file, found without opening it (Qt keeps what it read of an open file).
inline QString SettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Mirewood Software/Verbarium 1.4.conf");
}

// A value of the settings file as it stands on disk ("Group/Name").
inline QVariant Stored(const QString& key) {
  return QSettings(SettingsPath(), QSettings::IniFormat).value(key);
}

// Every test starts without a settings file and with no message box on record.
inline void ResetSettings() {
  Settings::UseAsDefaultStore();
  QFile::remove(SettingsPath());
  MessageBox::SetTestMode(true);
}

// The message boxes shown since the last call, each as "Caption: text", oldest first.
inline QStringList TakeMessages() {
  QStringList messages;
  for (const MessageBox::Shown& shown : MessageBox::TakeShown())
    messages << MessageBox::Caption(shown.kind) + QStringLiteral(": ") + shown.text;
  return messages;
}

// A folder with Data/: the compiled dictionary's read-only files as links, the custom database
// as a copy (so nothing a test does reaches the build's own).
class DataFolder {
 public:
  DataFolder() {
    QDir(dir_.path()).mkpath(QStringLiteral("Data"));
    const QDir source(QStringLiteral(VERBARIUM_DATA_DIR));
    for (const char* name : kDataFiles) {
      const QString from = source.filePath(QString::fromLatin1(name));
      const QString to = DataFile(name);
      if (QString::fromLatin1(name).startsWith(QStringLiteral("1001M"))) {
        QFile::copy(from, to);
      } else {
        QFile::link(from, to);
      }
    }
  }
  QString path() const { return dir_.path(); }
  QString DataFile(const char* name) const {
    return dir_.filePath(QStringLiteral("Data/") + QString::fromLatin1(name));
  }
  void Remove(const char* name) const { QFile::remove(DataFile(name)); }
  // Replaces the link by a copy whose bytes `damage` changes.
  void Damage(const char* name, const std::function<void(QByteArray&)>& damage) const {
    QFile source(QDir(QStringLiteral(VERBARIUM_DATA_DIR)).filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    damage(bytes);
    Remove(name);
    QFile target(DataFile(name));
    EXPECT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(bytes);
  }

 private:
  QTemporaryDir dir_;
};

inline StartUpOptions Options(const QString& current_dir) {
  StartUpOptions options;
  options.current_dir = current_dir;
  options.splash = false;
  return options;
}

// The real main window started on `folder` (Data/ and help/ below it), the build folder unless
// told otherwise.
inline std::unique_ptr<CMainDialog> StartedDialog(
    const QString& folder = QStringLiteral(VERBARIUM_BINARY_DIR)) {
  auto dialog = std::make_unique<CMainDialog>();
  EXPECT_TRUE(dialog->StartUp(Options(folder)));
  EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  // The anagram list loads after the first paint.
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->handles().jumble() != nullptr; }, 30000));
  return dialog;
}

// Types `text` into the lookup box and presses Enter, as a user does.
inline void TypeLookup(CMainDialog* dialog, const QString& text) {
  QLineEdit* edit = dialog->tool_row()->LookupBox()->lineEdit();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

// Pastes `text` into the lookup box (control characters included) and presses Enter.
inline void PasteLookup(CMainDialog* dialog, const QString& text) {
  QLineEdit* edit = dialog->tool_row()->LookupBox()->lineEdit();
  edit->clear();
  edit->insert(text);
  QTest::keyClick(edit, Qt::Key_Return);
}

// Selects the pane tab titled `title`, as a click on it does.
inline void SelectTab(CMainDialog* dialog, const QString& title) {
  CSplitterTabFrame* frame = dialog->frame();
  for (int tab = 0; tab < frame->count(); ++tab)
    if (frame->tabText(tab) == title) frame->tabBar()->setCurrentIndex(tab);
}

// A test on the real main window, started on the build folder with default settings.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    dialog_ = StartedDialog();
  }

  CHistoryCombo* Box() const { return dialog_->tool_row()->LookupBox(); }
  QAction* Action(Command command) const { return dialog_->menus()->Action(command); }
  // What shows above the panes: "senses", "helpForm" or "patternList".
  QString UpperView() const {
    return dialog_->findChild<QStackedWidget*>(QStringLiteral("upperView"))
        ->currentWidget()
        ->objectName();
  }

  std::unique_ptr<CMainDialog> dialog_;
};

}  // namespace shell_test
