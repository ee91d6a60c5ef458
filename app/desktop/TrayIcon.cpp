#include "app/desktop/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include "ui/MessageBox.h"

const char TrayIcon::kNoTrayMessage[] =
    "This desktop shows no system tray, so Verbarium stays in its window.\n"
    "Desktops without a tray, such as GNOME, show one with a tray extension.";

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent)
    : QObject(parent), menu_(new QMenu), icon_(new QSystemTrayIcon(icon, this)) {
  menu_->setAccessibleName(QStringLiteral("Verbarium"));
  tray_mode_ = menu_->addAction(QStringLiteral("Run in System Tray"));
  tray_mode_->setCheckable(true);
  tray_mode_->setChecked(true);
  connect(tray_mode_, &QAction::triggered, this, &TrayIcon::TrayModeToggled);
  menu_->addSeparator();
  connect(menu_->addAction(QStringLiteral("Help...")), &QAction::triggered, this,
          &TrayIcon::HelpRequested);
  connect(menu_->addAction(QStringLiteral("About Verbarium...")), &QAction::triggered, this,
          &TrayIcon::AboutRequested);
  menu_->addSeparator();
  connect(menu_->addAction(QStringLiteral("Settings...")), &QAction::triggered, this,
          &TrayIcon::SettingsRequested);
  connect(menu_->addAction(QStringLiteral("Set Hotkey...")), &QAction::triggered, this,
          &TrayIcon::SetHotkeyRequested);
  menu_->addSeparator();
  connect(menu_->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
          &TrayIcon::ExitRequested);

  icon_->setToolTip(QStringLiteral("Verbarium"));
  icon_->setContextMenu(menu_);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger) emit Clicked();
  });
}

TrayIcon::~TrayIcon() {
  delete icon_;
  delete menu_;  // a context menu is not owned by its icon
}

bool TrayIcon::Add() {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  tray_mode_->setChecked(true);  // the item unchecks itself when chosen
  icon_->show();
  return true;
}

void TrayIcon::Remove() {
  icon_->hide();
}

bool TrayIcon::IsShown() const {
  return icon_->isVisible();
}

void TrayIcon::ExplainMissingTray(QWidget* parent) {
  if (explained_) return;
  explained_ = true;
  MessageBox::Information(parent, QString::fromLatin1(kNoTrayMessage));
}
