// The custom database's commands of the main window's "&Database" menu: add an entry, edit the
// entries, back the database up, restore it, and the enabling rules of the menu's items.
// Message boxes go through MessageBox, file dialogs through FileDialog.
//
// The dialogs are modal to the window but do not block the caller: AddEntry and EditEntries
// return once the dialog is shown, and DatabaseChanged follows when it closes.
#pragma once

#include <QObject>
#include <QString>
#include <ctime>
#include <functional>

#include "app/custom/CustomStore.h"
#include "app/custom/DialogSizes.h"

class QAction;
class QDialog;
class QWidget;

class CustomDatabaseCommands : public QObject {
  Q_OBJECT

 public:
  // `window` is the parent of the dialogs and message boxes.
  CustomDatabaseCommands(const CustomStore& store, QWidget* window);

  // "&Add new entry..." and the help form's "Add to custom dictionary": the add dialog, with
  // `initial_word` (the lookup box's text) in its word box.
  void AddEntry(const QString& initial_word = QString());
  // "&Edit entries...": the Custom Database dialog. Nothing while the database holds no entry
  // (a shortcut may ask before the menu was shown).
  void EditEntries();
  // "&Backup custom database...": both files to a ".dbk"/".ibk" pair the user names. Nothing
  // while the database holds no entry.
  void Backup();
  // "&Restore custom database...": a pair the user chooses over both files, once it has passed
  // its check; the database is then opened on it.
  void Restore();

  // Enables "Edit entries..." and "Backup custom database..." while the database holds an
  // entry, as the index file says now: call it each time the menu is about to show.
  void UpdateMenu(QAction* edit_entries, QAction* backup) const;

  // Where the dialogs keep their sizes; without it they open at their natural size.
  void set_dialog_sizes(DialogSizes sizes) { sizes_ = std::move(sizes); }

  // The clock of the suggested backup name (the system's by default). For tests.
  void set_clock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }

  // The filter of both file dialogs: "Custom database backup files (*.dbk)".
  static QString BackupFilter();

 signals:
  // A dialog closed or a restore ran: the database may hold other entries now, so the window
  // looks its word up again.
  void DatabaseChanged();
  // F1 in one of the dialogs: the help on custom entries.
  void HelpRequested();

 private:
  QString StartFolder() const;
  // Opens `dialog` modal to the window; it deletes itself when closed.
  void OpenDialog(QDialog* dialog, CustomDialog which);

  CustomStore store_;
  QWidget* window_;
  DialogSizes sizes_;
  std::function<std::time_t()> clock_;
  QString last_folder_;
};
