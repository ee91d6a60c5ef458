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

// ---- Commands whose dialogs come with later work ----
// They are in the menus, shown disabled. Whoever builds one removes it from this list and
// handles it in CMainDialog::OnCommand.
inline constexpr Command kPendingCommands[] = {
    Command::kAddEntry, Command::kEditEntries, Command::kBackup,      // custom entries
    Command::kRestore,  Command::kSetHotkey,   Command::kSystemTray,  // hotkey and tray
};
bool IsPending(Command command);

class MainMenus : public QObject {
  Q_OBJECT

 public:
  // Builds the menus into the window's menu bar.
  explicit MainMenus(QMainWindow* window);

  QAction* Action(Command command) const { return actions_[static_cast<int>(command)]; }
  // Enables a command; a pending command stays disabled.
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
