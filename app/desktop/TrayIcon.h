// The program's icon in the system tray (StatusNotifierItem or the X11 tray, through
// QSystemTrayIcon): the application icon, the tooltip "Verbarium", a left click, and a menu of
// the window's commands. The icon exists while the window is in tray mode; the window decides
// what each command does. A desktop without a tray (GNOME without an extension, no session
// bus) makes Add fail; the window then stays as it is and tells the user once why.
#pragma once

#include <QIcon>
#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

class TrayIcon : public QObject {
  Q_OBJECT

 public:
  // The message shown once when the desktop has no tray.
  static const char kNoTrayMessage[];

  explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);
  ~TrayIcon() override;

  // Shows the icon; false, with nothing shown, when the desktop has no tray.
  bool Add();
  void Remove();
  bool IsShown() const;

  // Tells the user, the first time only, that the desktop has no tray.
  void ExplainMissingTray(QWidget* parent);

  // The right-click menu: "Run in System Tray" (checked), "Help...", "About Verbarium...",
  // "Settings...", "Set Hotkey...", "Exit", with separators as the window's menus have them.
  QMenu* Menu() const { return menu_; }

 signals:
  void Clicked();
  void TrayModeToggled();
  void HelpRequested();
  void AboutRequested();
  void SettingsRequested();
  void SetHotkeyRequested();
  void ExitRequested();

 private:
  QMenu* menu_;
  QAction* tray_mode_;
  QSystemTrayIcon* icon_;
  bool explained_ = false;
};
