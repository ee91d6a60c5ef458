// The main window on the desktop: the global hotkey, the lookups other programs ask for, and
// tray mode.
//
// - The hotkey is registered at the end of start-up from "Hotkey" and released at shut-down;
//   Options > Set Hotkey... (CHotKeyDlg) stores a valid new text in "Hotkey" at once and
//   registers it, an invalid one leaves the old hotkey.
// - The hotkey, `verbarium --lookup-selection` and `verbarium --lookup TEXT` (handed over by a
//   later start, or the program's own command line once it is up) bring the window forward and
//   look up the selected text of whatever program (then the clipboard's) or TEXT as the
//   Lookup button does; with nothing to look up the lookup box gets the focus. While long work
//   keeps the window busy the window only comes forward. A handed-over lookup comes forward
//   with the activation the desktop gave the later start.
// - Tray mode ("SystemTray"): the icon exists exactly while the window is in tray mode;
//   entering it writes "SystemTray" = 1 at once and hides the window, leaving it shows the
//   window (the value is written at exit). Closing the shown window in tray mode hides it; the
//   icon's Exit ends the program. A desktop without a tray leaves tray mode off, the setting
//   as it was and the window on the screen, and the user is told once why.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/desktop/HotKey.h"

class CMainDialog;
class GlobalHotKey;
class QTimer;
class TextSource;
class TrayIcon;

class DesktopIntegration : public QObject {
  Q_OBJECT

 public:
  static constexpr char kLookupOption[] = "--lookup";
  static constexpr char kLookupSelectionOption[] = "--lookup-selection";
  // Followed by the activation token and the X server time of a later start.
  static constexpr char kActivationOption[] = "--activation";

  // What a later start hands over: its command line, with the desktop's activation of that
  // start in front when there is one, so the running window may come forward.
  static QStringList WithActivation(QStringList arguments, const HotKeyActivation& activation);

  // Adds the lookup options to the window's hand-over.
  explicit DesktopIntegration(CMainDialog* window);
  ~DesktopIntegration() override;

  // Start-up: with "SystemTray" set, the icon is added and the window is to stay hidden.
  void StartTrayMode();
  // End of start-up: the hotkey of "Hotkey" (Ctrl+Alt+T when it names none).
  void RegisterHotKey();
  // Shut-down.
  void UnregisterHotKey();

  bool InTrayMode() const { return tray_mode_; }
  // Options > Run in System Tray and the icon's first item.
  void ToggleTrayMode();
  // Options > Set Hotkey... and the icon's item: the dialog, modal to the window.
  void SetHotKey();

  // What the hotkey and the hand-over run.
  void LookupSelection(const HotKeyActivation& activation);
  void LookupText(const QString& text, const HotKeyActivation& activation);

  TrayIcon* tray() const { return tray_; }
  // Tests: where the selection and clipboard texts come from, and whether the selection can
  // be read only once the window has the focus (as on Wayland).
  void SetTextSource(std::unique_ptr<TextSource> source);
  void SetCaptureNeedsFocus(bool needs_focus) { capture_needs_focus_ = needs_focus; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool AddTrayIcon();
  void LeaveTrayMode();
  void Exit();
  // Runs `action` once the window is active, or after a short wait when it never becomes so.
  void WhenActive(std::function<void()> action);
  void RunWhenActive();

  CMainDialog* window_;
  std::unique_ptr<TextSource> source_;
  GlobalHotKey* hotkey_ = nullptr;
  TrayIcon* tray_ = nullptr;
  bool tray_mode_ = false;
  bool exiting_ = false;
  bool capture_needs_focus_;
  HotKeyActivation handed_over_activation_;  // for the lookups of the hand-over being run
  std::function<void()> when_active_;
  QTimer* active_wait_ = nullptr;
};
