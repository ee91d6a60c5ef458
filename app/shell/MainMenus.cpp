#include "app/shell/MainMenus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

enum Menu { kFile, kEdit, kDatabase, kOptions, kHelp };

constexpr const char* kMenuTitles[] = {"&File", "&Edit", "&Database", "&Options", "&Help"};

struct CommandInfo {
  Command command;
  Menu menu;
  const char* text;
  const char* shortcut;  // empty: none
  bool checkable;
  bool print_submenu;  // in File > Print
  bool separator_before;
};

// In menu order.
constexpr CommandInfo kCommands[] = {
    {Command::kPrintSenses, kFile, "Print &Senses", "", false, true, false},
    {Command::kPrintPane, kFile, "Print &Pane", "", false, true, false},
    {Command::kPreviewSenses, kFile, "Pre&view Senses...", "", false, true, true},
    {Command::kPreviewPane, kFile, "Previe&w Pane...", "", false, true, false},
    {Command::kPrintSetup, kFile, "Print Set&up...", "", false, false, false},
    {Command::kClearHistory, kFile, "&Clear History", "", false, false, true},
    {Command::kExit, kFile, "E&xit", "Ctrl+Q", false, false, true},
    {Command::kSelectAll, kEdit, "Select &All", "Ctrl+A", false, false, false},
    {Command::kDeselectAll, kEdit, "&Deselect All", "Ctrl+D", false, false, false},
    {Command::kLookup, kEdit, "&Lookup", "Ctrl+L", false, false, true},
    {Command::kAddEntry, kDatabase, "&Add new entry...", "Ctrl+I", false, false, false},
    {Command::kEditEntries, kDatabase, "&Edit entries...", "Ctrl+E", false, false, false},
    {Command::kBackup, kDatabase, "&Backup custom database...", "", false, false, true},
    {Command::kRestore, kDatabase, "&Restore custom database...", "", false, false, false},
    {Command::kFont, kOptions, "&Font...", "", false, false, false},
    {Command::kColors, kOptions, "&Colors...", "", false, false, false},
    {Command::kSetHotkey, kOptions, "Set &Hotkey...", "", false, false, true},
    {Command::kSystemTray, kOptions, "Run in System &Tray", "", true, false, false},
    {Command::kShowTips, kOptions, "Show Tips at &Startup", "", true, false, false},
    {Command::kSettings, kOptions, "S&ettings...", "", false, false, true},
    {Command::kContents, kHelp, "&Contents", "F1", false, false, false},
    {Command::kHomepage, kHelp, "&Homepage", "", false, false, true},
    {Command::kForum, kHelp, "&Forum", "", false, false, false},
    {Command::kSupport, kHelp, "&Technical support (free)", "", false, false, false},
    {Command::kAbout, kHelp, "&About Verbarium...", "Ctrl+B", false, false, true},
};
static_assert(std::size(kCommands) == static_cast<size_t>(Command::kCount), "one row a command");

}  // namespace

bool IsPending(Command command) {
  for (Command pending : kPendingCommands)
    if (pending == command) return true;
  return false;
}

MainMenus::MainMenus(QMainWindow* window) : QObject(window) {
  QMenuBar* bar = window->menuBar();
  for (int m = 0; m < static_cast<int>(menus_.size()); ++m) {
    menus_[m] = bar->addMenu(QString::fromLatin1(kMenuTitles[m]));
    connect(menus_[m], &QMenu::aboutToShow, this, &MainMenus::AboutToShow);
  }
  QMenu* print = nullptr;
  for (const CommandInfo& info : kCommands) {
    QMenu* menu = menus_[info.menu];
    if (info.print_submenu && print == nullptr) {
      print = menu->addMenu(QStringLiteral("&Print"));
      connect(print, &QMenu::aboutToShow, this, &MainMenus::AboutToShow);
    }
    QMenu* into = info.print_submenu ? print : menu;
    if (info.separator_before) into->addSeparator();
    QAction* action = into->addAction(QString::fromLatin1(info.text));
    if (*info.shortcut != '\0')
      action->setShortcut(QKeySequence(QString::fromLatin1(info.shortcut)));
    action->setCheckable(info.checkable);
    action->setEnabled(!IsPending(info.command));
    const Command command = info.command;
    connect(action, &QAction::triggered, this, [this, command] { emit Triggered(command); });
    actions_[static_cast<int>(command)] = action;
  }
}

void MainMenus::SetEnabled(Command command, bool enabled) {
  Action(command)->setEnabled(enabled && !IsPending(command));
}

void MainMenus::SetChecked(Command command, bool checked) {
  Action(command)->setChecked(checked);
}

void MainMenus::SetMenusEnabled(bool enabled) {
  for (QMenu* menu : menus_)
    menu->menuAction()->setEnabled(enabled);
}
