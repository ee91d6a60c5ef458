#include "app/shell/VerbariumApp.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QStringList>

#include "app/desktop/BringForward.h"
#include "app/shell/AfterFirstPaint.h"
#include "app/shell/DesktopIntegration.h"
#include "app/shell/Diagnostics.h"
#include "app/shell/EarlyEngineStart.h"
#include "app/shell/Icons.h"
#include "app/shell/MainDialog.h"
#include "app/shell/Settings.h"
#include "app/shell/SingleInstance.h"
#include "engine/nymdex.h"
#include "platform/data_path.h"

namespace {

int g_signal_pipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signal_pipe[0], &byte, 1);
}

// A session that ends (SIGTERM, SIGHUP) or Ctrl+C in a terminal ends the event loop, so the
// shut-down sequence still saves the settings and the history.
void QuitOnTerminationSignals(QApplication* app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signal_pipe[1], QSocketNotifier::Read, app);
  QObject::connect(notifier, &QSocketNotifier::activated, app, [notifier] {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(g_signal_pipe[1], &byte, 1);
    notifier->setEnabled(false);
    QApplication::quit();
  });
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT})
    sigaction(signal_number, &action, nullptr);
}

// The program's icon, which every window shows (found in the icon theme, drawn at each size the
// window manager is offered), once the main window is on the screen: its first frame does not
// show it. A window that starts hidden (in the tray) gets it at once.
void SetIconWhenPainted(QWidget* window) {
  RunAfterFirstPaintOrWhenHidden(window, [] { QApplication::setWindowIcon(ApplicationIcon()); });
}

}  // namespace

CVerbariumApp::CVerbariumApp(int& argc, char** argv) : QApplication(argc, argv) {
  Settings::UseAsDefaultStore();
  setApplicationDisplayName(QStringLiteral("Verbarium"));
  setDesktopFileName(QStringLiteral("verbarium"));
}

int CVerbariumApp::Run() {
  QStringList arguments = QApplication::arguments().mid(1);
  const bool report = arguments.removeAll(QString::fromLatin1(kStartupReportOption)) > 0;
  const bool time_lookups = arguments.removeAll(QString::fromLatin1(kLookupTimingOption)) > 0;

  CSingleInstanceGuard guard;
  if (!guard.Claim(DesktopIntegration::WithActivation(arguments, ActivationFromEnvironment())))
    return 0;

  // The engine starts on the dictionary the window will find while the window is built, with
  // the decoded word index kept in the user's cache folder between starts.
  Nymdex_SetCacheFolder(platform::UserCacheFolder().c_str());
  StartUpOptions options = StartUpOptions::FromEnvironment();
  EarlyEngineStart early_engine;
  std::string error;
  const std::string directory = platform::CurrentDirectory(&error);
  if (!directory.empty()) {
    early_engine.Begin(platform::FindDataLocation(directory, options.search));
    options.early_engine = &early_engine;
  }

  CMainDialog dialog;
  connect(&guard, &CSingleInstanceGuard::CommandLineReceived, &dialog, &CMainDialog::OnHandOver);
  ReportViewsIfAsked(&dialog);
  if (!dialog.StartUp(options)) return 1;
  SetIconWhenPainted(&dialog);
  connect(&dialog, &CMainDialog::LateStartUpFailed, this, [] { QCoreApplication::exit(1); });
  // `verbarium --lookup TEXT` and the like act once the window is up.
  dialog.hand_over().RunOptions(arguments);
  if (report) ReportWhenReady(&dialog, time_lookups);
  QuitOnTerminationSignals(this);
  return exec();
}
