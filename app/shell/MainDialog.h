// CMainDialog: the main window and the controller of the program. It owns what lives for the
// whole run (the settings, the engine handles, the lookup history in the lookup box, the
// views) and wires the classes that do the work: the tool row and the menus report what the
// user chose, LookupController runs lookups and fills the views, CustomDatabaseCommands runs
// the Database menu and the custom-entry dialogs, EngineHandles opens and closes the data. It
// runs the start-up and shut-down sequences and the busy state that brackets long work
// (anagram generation).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <vector>

#include "app/shell/EngineHandles.h"
#include "app/shell/MainMenus.h"
#include "app/shell/Settings.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/ToolRow.h"
#include "app/shell/WebPages.h"
#include "platform/data_path.h"

class AnagramListLoader;
class COptionsSheet;
class CHelpPaneView;
class CHelpWindow;
class CSenseListView;
class CSplitterTabFrame;
class CustomDatabaseCommands;
class FindByMeaningCommand;
class DesktopIntegration;
class LookupController;
class PrintCommands;
class QSplitter;
class QStackedWidget;
class WordFormsBar;

// Where start-up finds its files and what it shows.
struct StartUpOptions {
  QString current_dir;          // Data/ and help/ below it; empty: the process's directory
  platform::DataSearch search;  // where an installed dictionary and help are looked for
  bool splash = true;
  EarlyEngineStart* early_engine = nullptr;  // the engine already starting, when given

  static StartUpOptions FromEnvironment();
};

class CMainDialog : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainDialog(QWidget* parent = nullptr);
  ~CMainDialog() override;

  // The start-up sequence: settings, current directory, splash, engines, custom database,
  // stop event, anagram engine, history, the last word looked up again, the window shown.
  // False after a failure: its one message has been shown and the program is to end.
  bool StartUp(const StartUpOptions& options);
  // The shut-down sequence (settings saved, anagram worker stopped, history saved, engines and
  // database closed); runs once, at the latest when the window is destroyed.
  void ShutDown();

  // Busy state: while long work runs, the lookup box, the tool buttons, the menus and the
  // views are disabled; leaving it gives back the buttons' states and the focus.
  void EnterBusy();
  void LeaveBusy();
  bool busy() const { return busy_; }

  void OnCommand(Command command);
  // A later start handed its command line over: its options run their handlers; without any,
  // a minimised window is restored and a hidden one (in the tray) shown.
  void OnHandOver(const QStringList& arguments);
  HandOverRouter& hand_over() { return hand_over_; }

  // Run at shut-down before the history is saved: stops a running anagram worker and waits
  // for it (set by the anagram view's owner).
  void SetAnagramWorkerStopper(std::function<void()> stop) { stop_anagrams_ = std::move(stop); }

  Settings& settings() { return settings_; }
  EngineHandles& handles() { return handles_; }
  ToolRow* tool_row() const { return tool_row_; }
  MainMenus* menus() const { return menus_; }
  LookupController* lookup() const { return lookup_; }
  DesktopIntegration* desktop() const { return desktop_; }
  // In tray mode the window hides instead of closing and starts hidden, without a tip.
  bool InTrayMode() const;
  PrintCommands* printing() const { return printing_; }
  FindByMeaningCommand* find_by_meaning() const { return find_by_meaning_; }
  CSenseListView* senses() const { return senses_; }
  CSplitterTabFrame* frame() const { return frame_; }
  QString help_dir() const { return help_dir_; }

  // Brings the command states (enabled, checked) up to date.
  void UpdateCommandStates();

 signals:
  // A start-up step that ran after the window was up failed (the anagram list): its one
  // message has been shown, the window is closed and the program is to end with a failure.
  void LateStartUpFailed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Fail(const QString& message);
  void BuildViews();
  void ApplyFonts();
  void ApplyColors();
  void ShowHelp(const QString& page);
  void OpenWebPage(WebPage page);
  void ChooseFonts();
  void ChooseColors();
  void ShowOptions();
  // The anagram view and its page (MainDialogAnagrams.cpp).
  void SetUpAnagrams();
  void AddAnagramsPage(COptionsSheet* sheet);
  // Loads the anagram list once the window is painted; an anagram request waits for it.
  void LoadAnagramListAfterPaint();
  // What the session's first lookup would pay, as steps run after the first paint.
  std::vector<std::function<void()>> FirstLookupWarmUpSteps();
  void OnAnagramListLoaded(JumbleEngine* engine);
  void OnAnagramListFailed(const QString& message);
  void ShowAbout();
  void ClearHistory();
  // The Database menu's commands, once the custom database is open: their dialogs' help and
  // sizes, and the views following each change of the database.
  void WireCustomEntries();
  void RunCustomCommand(Command command);
  QSize DefaultSize() const;

  Settings settings_;
  EngineHandles handles_;
  HandOverRouter hand_over_;
  std::function<void()> stop_anagrams_;
  QString help_dir_;
  bool started_ = false;  // the window was shown: its geometry is worth keeping
  bool shut_down_ = false;
  bool busy_ = false;
  uint8_t saved_buttons_ = 0;

  ToolRow* tool_row_ = nullptr;
  MainMenus* menus_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QStackedWidget* upper_ = nullptr;
  CSenseListView* senses_ = nullptr;
  WordFormsBar* forms_bar_ = nullptr;
  CHelpPaneView* pattern_list_ = nullptr;
  CSplitterTabFrame* frame_ = nullptr;
  LookupController* lookup_ = nullptr;
  CustomDatabaseCommands* custom_ = nullptr;
  DesktopIntegration* desktop_ = nullptr;
  PrintCommands* printing_ = nullptr;
  AnagramListLoader* anagram_list_ = nullptr;
  FindByMeaningCommand* find_by_meaning_ = nullptr;
  QPointer<CHelpWindow> help_window_;
};
