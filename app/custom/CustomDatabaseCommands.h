// The custom database's commands of the main window's "&Database" menu: add an entry, edit the
// entries, back the database up, restore it, and the enabling rules of the menu's items.
// Message boxes go through MessageBox, file dialogs through FileDialog.
#pragma once

#include <QObject>
#include <QString>
#include <ctime>
#include <functional>

#include "app/custom/CustomStore.h"

class QAction;
class QWidget;

class CustomDatabaseCommands : public QObject {
  Q_OBJECT

 public:
  // `window` is the parent of the dialogs and message boxes.
  CustomDatabaseCommands(const CustomStore& store, QWidget* window);

  // "&Add new entry..." and the help form's "Add to custom dictionary": the add dialog, with
  // `initial_word` (the lookup box's text) in its word box.
  void AddEntry(const QString& initial_word = QString());
  // "&Edit entries...": the Custom Database dialog.
  void EditEntries();
  // "&Backup custom database...": both files to a ".dbk"/".ibk" pair the user names.
  void Backup();
  // "&Restore custom database...": a pair the user chooses over both files, once it has passed
  // its check; the database is then opened on it.
  void Restore();

  // Enables "Edit entries..." and "Backup custom database..." while the database holds an
  // entry, as the index file says now: call it each time the menu is about to show.
  void UpdateMenu(QAction* edit_entries, QAction* backup) const;

  // The clock of the suggested backup name (the system's by default). For tests.
  void set_clock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }

  // The filter of both file dialogs: "Custom database backup files (*.dbk)".
  static QString BackupFilter();

 signals:
  // A dialog closed or a restore ran: the database may hold other entries now, so the window
  // looks its word up again.
  void DatabaseChanged();

 private:
  QString StartFolder() const;

  CustomStore store_;
  QWidget* window_;
  std::function<std::time_t()> clock_;
  QString last_folder_;
};
