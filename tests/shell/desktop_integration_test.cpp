// The hotkey's lookups, the hand-over's lookup options and tray mode in the real main window
// (offscreen: the tray is assumed through TrayIcon's test hook where a test needs one; the
// offscreen platform has none). The hotkey, --lookup, Set Hotkey and the tray icon's own
// commands are tried with the real program end to end (tests/e2e/desktop_e2e.sh).
#include <QAction>
#include <QMenu>
#include <QTimer>

#include "app/desktop/SelectionCapture.h"
#include "app/desktop/TrayIcon.h"
#include "app/lookup/lookup.h"
#include "app/shell/DesktopIntegration.h"
#include "app/shell/LookupController.h"
#include "tests/shell/shell_test_util.h"

namespace {

class FakeSource : public TextSource {
 public:
  FakeSource(QString selection, QString clipboard, QWidget* window = nullptr)
      : selection_(std::move(selection)), clipboard_(std::move(clipboard)), window_(window) {}
  QString SelectionText() const override {
    if (window_ != nullptr) read_while_active_ = window_->isActiveWindow();
    return selection_;
  }
  QString ClipboardText() const override { return clipboard_; }
  bool read_while_active() const { return read_while_active_; }

 private:
  QString selection_;
  QString clipboard_;
  QWidget* window_;
  mutable bool read_while_active_ = false;
};

class DesktopIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override { shell_test::ResetSettings(); }
  void TearDown() override { TrayIcon::AssumeTrayForTesting(false); }

  void Start() {
    dialog_ = shell_test::StartedDialog();
    shell_test::TypeLookup(dialog_.get(), QStringLiteral("house"));
  }
  DesktopIntegration* Desktop() const { return dialog_->desktop(); }
  QString BoxText() const { return dialog_->tool_row()->LookupBox()->currentText(); }
  std::string Word() const { return dialog_->lookup()->session()->display_word(); }
  QAction* TrayItem(int index) const { return Desktop()->tray()->Menu()->actions().at(index); }
  bool TrayChecked() const { return dialog_->menus()->Action(Command::kSystemTray)->isChecked(); }

  std::unique_ptr<CMainDialog> dialog_;
};

TEST_F(DesktopIntegrationTest, OutsideRequestsLookUpAsLookupButton) {
  struct Case {
    const char* name;
    std::function<void(CMainDialog*)> request;
    const char* box;   // the lookup box afterwards, first in the history
    const char* word;  // the word whose senses are shown
  };
  auto hotkey = [](const char* selection, const char* clipboard) {
    return [=](CMainDialog* dialog) {
      dialog->desktop()->SetTextSource(std::make_unique<FakeSource>(selection, clipboard));
      dialog->desktop()->LookupSelection({});
    };
  };
  auto hand_over = [](QStringList arguments) {
    return [=](CMainDialog* dialog) {
      dialog->desktop()->SetTextSource(std::make_unique<FakeSource>("ice cream", ""));
      dialog->OnHandOver(arguments);
    };
  };
  const Case cases[] = {
      {"hotkey, selection", hotkey(" cats\n", "dogs"), "cats", "cat"},
      {"hotkey, nothing", hotkey(" ", ""), "house", "house"},
      {"--lookup without text", hand_over({"--lookup"}), "house", "house"},
      {"--lookup-selection", hand_over({"--lookup-selection"}), "ice cream", "ice cream"},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_->lookup()->Lookup(QStringLiteral("house"), true);
    dialog_->showMinimized();
    c.request(dialog_.get());
    EXPECT_TRUE(dialog_->isVisible() && !dialog_->isMinimized());
    EXPECT_EQ(BoxText(), c.box);
    EXPECT_EQ(Word(), c.word);
    EXPECT_EQ(dialog_->tool_row()->LookupBox()->itemText(0), c.box);
    EXPECT_TRUE(dialog_->tool_row()->LookupBox()->hasFocus());
  }
}

TEST_F(DesktopIntegrationTest, HandedOverLookupUsesLaterStartsActivation) {
  Start();
  dialog_->showMinimized();
  dialog_->OnHandOver(DesktopIntegration::WithActivation({QStringLiteral("--lookup"), "trees"},
                                                         {0, QStringLiteral("token-1")}));
  EXPECT_EQ(Word(), "tree");
  // Qt hands the token to a Wayland desktop with the activation request.
  EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), "token-1");
  qunsetenv("XDG_ACTIVATION_TOKEN");
  QCoreApplication::processEvents();
  dialog_->OnHandOver({QStringLiteral("--lookup"), "dogs"});
  EXPECT_EQ(Word(), "dog");
  EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")) << "used for one hand-over only";
}

TEST_F(DesktopIntegrationTest, BusyWindowComesForwardWithoutLookup) {
  Start();
  dialog_->EnterBusy();
  Desktop()->LookupText(QStringLiteral("cats"), {});
  EXPECT_EQ(BoxText(), QStringLiteral("house"));
  EXPECT_EQ(Word(), "house");
  dialog_->LeaveBusy();
}

TEST_F(DesktopIntegrationTest, SelectionNeedingFocusIsReadOnceActive) {
  Start();
  QWidget other;  // the program the user selected in
  other.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  auto source = std::make_unique<FakeSource>("cats", "", dialog_.get());
  const FakeSource* fake = source.get();
  Desktop()->SetTextSource(std::move(source));
  Desktop()->SetCaptureNeedsFocus(true);
  Desktop()->LookupSelection({});
  EXPECT_TRUE(QTest::qWaitFor([this] { return Word() == "cat"; }));
  EXPECT_TRUE(fake->read_while_active());
}

TEST_F(DesktopIntegrationTest, TrayModeHidesInsteadOfClosing) {
  TrayIcon::AssumeTrayForTesting(true);
  Start();
  dialog_->OnCommand(Command::kSystemTray);
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
  emit Desktop()->tray()->Clicked();
  EXPECT_FALSE(dialog_->close()) << "closing the shown window only hides it";
  EXPECT_FALSE(dialog_->isVisible());

  TrayItem(0)->trigger();  // "Run in System Tray"
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_FALSE(Desktop()->tray()->IsShown());
  EXPECT_FALSE(TrayChecked());
  EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
  dialog_->ShutDown();
  EXPECT_EQ(shell_test::Stored("Settings/SystemTray").toUInt(), 0u);
}

// A signal or the end of the session quits the loop while the window shows from the tray.
TEST_F(DesktopIntegrationTest, QuitClosesShownTrayWindow) {
  TrayIcon::AssumeTrayForTesting(true);
  dialog_ = std::make_unique<CMainDialog>();
  ASSERT_TRUE(dialog_->StartUp(shell_test::Options(QStringLiteral(VERBARIUM_BINARY_DIR))));
  dialog_->OnCommand(Command::kSystemTray);
  emit Desktop()->tray()->Clicked();
  QTimer::singleShot(0, [] { QApplication::quit(); });
  QTimer give_up;  // gone with the loop, so it cannot end a later test's wait
  give_up.callOnTimeout([] { QApplication::exit(1); });
  give_up.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(dialog_->isVisible());
}

// Tray mode kept from the last run on a desktop without a tray: the window stays on the screen
// and says why, once; the menu item tries the tray again without a second word.
TEST_F(DesktopIntegrationTest, StartUpInTrayModeWithoutATrayShowsTheWindow) {
  QSettings(shell_test::SettingsPath(), QSettings::IniFormat)
      .setValue(QStringLiteral("Settings/SystemTray"), 1);
  dialog_ = std::make_unique<CMainDialog>();
  ASSERT_TRUE(dialog_->StartUp(shell_test::Options(QStringLiteral(VERBARIUM_BINARY_DIR))));
  QList<MessageBox::Shown> shown;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    shown += MessageBox::TakeShown();
    return !shown.isEmpty();
  }));
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].text, QString::fromLatin1(TrayIcon::kNoTrayMessage));
  EXPECT_FALSE(dialog_->InTrayMode());
  EXPECT_TRUE(dialog_->isVisible());
  dialog_->OnCommand(Command::kSystemTray);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
  dialog_.reset();
  EXPECT_EQ(shell_test::Stored("Settings/SystemTray").toUInt(), 1u);
}

}  // namespace
