// The tray icon's menu and its failure on a desktop without a tray (the offscreen platform
// has none).
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>

#include "app/desktop/TrayIcon.h"
#include "ui/MessageBox.h"

TEST(TrayIcon, MenuCommandsInOrder) {
  using Signal = void (TrayIcon::*)();
  struct Item {
    const char* text;  // nullptr: a separator
    Signal signal;
  };
  const Item items[] = {
      {"Run in System Tray", &TrayIcon::TrayModeToggled},
      {nullptr, nullptr},
      {"Help...", &TrayIcon::HelpRequested},
      {"About Verbarium...", &TrayIcon::AboutRequested},
      {nullptr, nullptr},
      {"Settings...", &TrayIcon::SettingsRequested},
      {"Set Hotkey...", &TrayIcon::SetHotkeyRequested},
      {nullptr, nullptr},
      {"Exit", &TrayIcon::ExitRequested},
  };
  TrayIcon tray{QIcon()};
  int fired = 0;
  for (const Item& item : items) {
    if (item.signal) QObject::connect(&tray, item.signal, [&fired] { ++fired; });
  }
  const QList<QAction*> actions = tray.Menu()->actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(items)));
  EXPECT_TRUE(actions[0]->isChecked());
  for (size_t i = 0; i < std::size(items); ++i) {
    SCOPED_TRACE(i);
    if (!items[i].text) {
      EXPECT_TRUE(actions[i]->isSeparator());
      continue;
    }
    EXPECT_EQ(actions[i]->text(), items[i].text);
    QSignalSpy own(&tray, items[i].signal);
    fired = 0;
    actions[i]->trigger();
    EXPECT_EQ(own.count(), 1);
    EXPECT_EQ(fired, 1);
  }
}

TEST(TrayIcon, MissingTrayFailsAdd) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this session has a tray";
  TrayIcon tray{QIcon()};
  EXPECT_FALSE(tray.Add());
  EXPECT_FALSE(tray.IsShown());
}

TEST(TrayIcon, MissingTrayExplainedOnce) {
  TrayIcon tray{QIcon()};
  tray.ExplainMissingTray(nullptr);
  tray.ExplainMissingTray(nullptr);
  const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].kind, MessageBox::Kind::kInformation);
}
