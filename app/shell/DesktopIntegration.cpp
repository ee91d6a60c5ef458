#include "app/shell/DesktopIntegration.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <utility>

#include "app/desktop/BringForward.h"
#include "app/desktop/GlobalHotKey.h"
#include "app/desktop/HotKeyDlg.h"
#include "app/desktop/SelectionCapture.h"
#include "app/desktop/TrayIcon.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/Icons.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainDialog.h"

namespace {

// How long the window waits to become active before it reads the selection anyway (a desktop
// may refuse to activate it).
constexpr int kActivationWaitMs = 1000;

}  // namespace

DesktopIntegration::DesktopIntegration(CMainDialog* window)
    : QObject(window),
      window_(window),
      source_(std::make_unique<ClipboardTextSource>()),
      // A Wayland desktop tells a program the selection only while it has the keyboard focus.
      capture_needs_focus_(
          QGuiApplication::platformName().startsWith(QLatin1StringView("wayland"))) {
  window_->installEventFilter(this);
  qApp->installEventFilter(this);  // to hear when the program is asked to end
  HandOverRouter& hand_over = window_->hand_over();
  hand_over.AddContextOption(
      QString::fromLatin1(kActivationOption), 2, [this](const QStringList& values) {
        handed_over_activation_ = {values[1].toUInt(), values[0]};
        // Good for this hand-over only.
        QTimer::singleShot(0, this, [this] { handed_over_activation_ = {}; });
      });
  hand_over.AddOption(QString::fromLatin1(kLookupOption), 1, [this](const QStringList& values) {
    LookupText(values[0], handed_over_activation_);
  });
  hand_over.AddOption(QString::fromLatin1(kLookupSelectionOption), 0,
                      [this](const QStringList&) { LookupSelection(handed_over_activation_); });
}

QStringList DesktopIntegration::WithActivation(QStringList arguments,
                                               const HotKeyActivation& activation) {
  if (!activation.activation_token.isEmpty() || activation.x11_time != 0) {
    arguments.prepend(QString::number(activation.x11_time));
    arguments.prepend(activation.activation_token);
    arguments.prepend(QString::fromLatin1(kActivationOption));
  }
  return arguments;
}

DesktopIntegration::~DesktopIntegration() {
  qApp->removeEventFilter(this);
  if (tray_mode_) QApplication::setQuitOnLastWindowClosed(true);
}

void DesktopIntegration::SetTextSource(std::unique_ptr<TextSource> source) {
  source_ = std::move(source);
}

void DesktopIntegration::RegisterHotKey() {
  if (hotkey_ == nullptr) {
    hotkey_ = new GlobalHotKey(this);
    connect(hotkey_, &GlobalHotKey::Activated, this, &DesktopIntegration::LookupSelection);
  }
  hotkey_->Register(window_->settings().Text(Setting::kHotkey));
}

void DesktopIntegration::UnregisterHotKey() {
  if (hotkey_ != nullptr) hotkey_->Unregister();
}

void DesktopIntegration::SetHotKey() {
  auto* dialog = new CHotKeyDlg(window_->settings().Text(Setting::kHotkey), window_);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    window_->settings().SetText(Setting::kHotkey, dialog->HotKeyText());
    window_->settings().WriteNow(Setting::kHotkey);
    RegisterHotKey();
  });
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void DesktopIntegration::LookupSelection(const HotKeyActivation& activation) {
  if (capture_needs_focus_ && !window_->isActiveWindow()) {
    BringForward(window_, activation);
    WhenActive([this] { LookupText(CaptureText(*source_), {}); });
    return;
  }
  LookupText(CaptureText(*source_), activation);
}

void DesktopIntegration::LookupText(const QString& text, const HotKeyActivation& activation) {
  BringForward(window_, activation);
  // Long work (anagrams) holds the lookup box; the window only comes forward.
  if (window_->busy()) return;
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    window_->lookup()->FocusLookupBox();
    return;
  }
  window_->tool_row()->LookupBox()->setEditText(trimmed);
  window_->lookup()->OnLookup();
}

void DesktopIntegration::WhenActive(std::function<void()> action) {
  when_active_ = std::move(action);
  if (active_wait_ == nullptr) {
    active_wait_ = new QTimer(this);
    active_wait_->setSingleShot(true);
    active_wait_->setInterval(kActivationWaitMs);
    connect(active_wait_, &QTimer::timeout, this, &DesktopIntegration::RunWhenActive);
  }
  active_wait_->start();
  if (window_->isActiveWindow()) RunWhenActive();
}

void DesktopIntegration::RunWhenActive() {
  active_wait_->stop();
  if (std::function<void()> action = std::exchange(when_active_, nullptr)) action();
}

void DesktopIntegration::StartTrayMode() {
  if (window_->settings().Number(Setting::kSystemTray) == 0) return;
  // Told once the window is on the screen, so the user sees what the message is about.
  if (!AddTrayIcon()) QTimer::singleShot(0, this, [this] { tray_->ExplainMissingTray(window_); });
}

void DesktopIntegration::ToggleTrayMode() {
  if (tray_mode_) {
    LeaveTrayMode();
  } else if (AddTrayIcon()) {
    window_->hide();
  } else {
    tray_->ExplainMissingTray(window_);
  }
}

bool DesktopIntegration::AddTrayIcon() {
  if (tray_ == nullptr) {
    tray_ = new TrayIcon(ApplicationIcon(), this);
    connect(tray_, &TrayIcon::Clicked, this, [this] { BringForward(window_, {}); });
    connect(tray_, &TrayIcon::TrayModeToggled, this, &DesktopIntegration::ToggleTrayMode);
    connect(tray_, &TrayIcon::HelpRequested, this,
            [this] { window_->OnCommand(Command::kContents); });
    connect(tray_, &TrayIcon::AboutRequested, this,
            [this] { window_->OnCommand(Command::kAbout); });
    connect(tray_, &TrayIcon::SettingsRequested, this,
            [this] { window_->OnCommand(Command::kSettings); });
    connect(tray_, &TrayIcon::SetHotkeyRequested, this,
            [this] { window_->OnCommand(Command::kSetHotkey); });
    connect(tray_, &TrayIcon::ExitRequested, this, &DesktopIntegration::Exit);
  }
  if (!tray_->Add()) return false;
  tray_mode_ = true;
  window_->settings().SetNumber(Setting::kSystemTray, 1);
  window_->settings().WriteNow(Setting::kSystemTray);
  // Dialogs opened from the icon while the window is hidden are the only windows: closing
  // them must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  window_->UpdateCommandStates();
  return true;
}

void DesktopIntegration::LeaveTrayMode() {
  BringForward(window_, {});
  tray_->Remove();
  tray_mode_ = false;
  window_->settings().SetNumber(Setting::kSystemTray, 0);  // written at exit
  QApplication::setQuitOnLastWindowClosed(true);
  window_->UpdateCommandStates();
}

void DesktopIntegration::Exit() {
  // The icon's Exit ends the program whether the window is shown or hidden.
  exiting_ = true;
  QCoreApplication::quit();
}

bool DesktopIntegration::eventFilter(QObject* watched, QEvent* event) {
  // The program is asked to end (the icon's Exit, a signal, the session): its windows are
  // closed first, and a window that only hid would cancel that.
  if (event->type() == QEvent::Quit && watched == qApp) exiting_ = true;
  if (watched == window_) {
    if (event->type() == QEvent::Close && tray_mode_ && !exiting_ && window_->isVisible()) {
      // In tray mode closing the window only hides it.
      event->ignore();
      window_->hide();
      return true;
    }
    if (event->type() == QEvent::WindowActivate && when_active_) {
      // After the activation, when the desktop has handed over the selection.
      QTimer::singleShot(0, this, &DesktopIntegration::RunWhenActive);
    }
  }
  return QObject::eventFilter(watched, event);
}
