// The menu bar of the main window: every command with its text, shortcut and menu, in one
// table. The menus only report which command the user chose (Triggered); the main window
// decides what it does and which commands are enabled or checked.
#pragma once

#include <QObject>
#include <array>

class QAction;
class QMainWindow;
class QMenu;

enum class Command {
  kPrintSenses,
  kPrintPane,
  kPreviewSenses,
  kPreviewPane,
  kPrintSetup,
  kClearHistory,
  kExit,
  kSelectAll,
  kDeselectAll,
  kLookup,
  kFindByMeaning,
  kAddEntry,
  kEditEntries,
  kBackup,
  kRestore,
  kFont,
  kColors,
  kSetHotkey,
  kSystemTray,
  kShowTips,
  kSettings,
  kContents,
  kHomepage,
  kForum,
  kSupport,
  kAbout,
  kCount
};

class MainMenus : public QObject {
  Q_OBJECT

 public:
  // Builds the menus into the window's menu bar.
  explicit MainMenus(QMainWindow* window);

  QAction* Action(Command command) const { return actions_[static_cast<int>(command)]; }
  // Enables or disables a command's menu item and shortcut.
  void SetEnabled(Command command, bool enabled);
  void SetChecked(Command command, bool checked);
  // The five menus, as a busy spell disables them.
  void SetMenusEnabled(bool enabled);

 signals:
  void Triggered(Command command);
  // A menu is about to open: its items' states should be brought up to date.
  void AboutToShow();

 private:
  std::array<QAction*, static_cast<int>(Command::kCount)> actions_{};
  std::array<QMenu*, 5> menus_{};
};
