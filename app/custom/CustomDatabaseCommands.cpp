#include "app/custom/CustomDatabaseCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/custom/CustomEntryDialogAdd.h"
#include "app/custom/CustomEntryDialogDelete.h"
#include "custom/backup.h"
#include "custom/custom_db.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

namespace {

std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

CustomDatabaseCommands::CustomDatabaseCommands(const CustomStore& store, QWidget* window)
    : QObject(window), store_(store), window_(window), clock_([] { return std::time(nullptr); }) {}

QString CustomDatabaseCommands::BackupFilter() {
  // The stored format is the platform's "description|pattern||"; Qt takes the description,
  // which names the pattern in parentheses.
  return QString::asprintf(kBackupFilterFormat, kBackupExtension, kBackupExtension)
      .section(QLatin1Char('|'), 0, 0);
}

QString CustomDatabaseCommands::StartFolder() const {
  if (!last_folder_.isEmpty() && QFileInfo(last_folder_).isDir()) return last_folder_;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void CustomDatabaseCommands::AddEntry(const QString& initial_word) {
  CCustomEntryDialogAdd dialog(store_, initial_word, window_);
  dialog.exec();
  emit DatabaseChanged();
}

void CustomDatabaseCommands::EditEntries() {
  CCustomEntryDialogDelete dialog(store_, window_);
  dialog.exec();
  emit DatabaseChanged();
}

void CustomDatabaseCommands::Backup() {
  const QString name =
      QString::fromStdString(SuggestedBackupName(clock_())) + QLatin1String(kBackupExtension);
  QString suggested = QDir(StartFolder()).filePath(name);
  for (;;) {
    const QString path = FileDialog::SaveFile(window_, tr("Backup Custom Database"), suggested,
                                              BackupFilter(), QString(kBackupExtension).mid(1));
    if (path.isEmpty()) return;
    // Both files of the pair are replaced; one question covers them.
    const QString index = QFile::decodeName(BackupIndexPath(LocalPath(path)).c_str());
    const QString existing = QFileInfo::exists(path)    ? path
                             : QFileInfo::exists(index) ? index
                                                        : QString();
    if (!existing.isEmpty() &&
        !MessageBox::Question(window_, tr("%1 already exists.\nDo you want to replace it?")
                                           .arg(QFileInfo(existing).fileName()))) {
      suggested = path;
      continue;
    }
    last_folder_ = QFileInfo(path).absolutePath();
    const std::string message =
        BackupCustomDatabase(store_.index_path, store_.data_path, LocalPath(path));
    if (!message.empty()) MessageBox::Error(window_, QString::fromStdString(message));
    return;
  }
}

void CustomDatabaseCommands::Restore() {
  QString path =
      FileDialog::OpenFile(window_, tr("Restore Custom Database"), StartFolder(), BackupFilter());
  if (path.isEmpty()) return;
  // The default extension completes a name typed without one.
  if (!QFileInfo::exists(path) && QFileInfo(path).suffix().isEmpty() &&
      QFileInfo::exists(path + QLatin1String(kBackupExtension))) {
    path += QLatin1String(kBackupExtension);
  }
  last_folder_ = QFileInfo(path).absolutePath();
  const RestoreResult result =
      RestoreCustomDatabase(store_.handle, store_.index_path, store_.data_path, LocalPath(path));
  bool open = false;
  switch (result.outcome) {
    case RestoreOutcome::kRejected:
    case RestoreOutcome::kCopyFailed:
      MessageBox::Error(window_, QString::fromStdString(result.message));
      return;
    case RestoreOutcome::kRestored:
      open = true;
      break;
    case RestoreOutcome::kNotOpen:
      // No database was open (an earlier reopen failed): the restored pair is the way back.
      open = store_.handle != nullptr && CustomDb_Open(store_.handle, store_.index_path.c_str(),
                                                       store_.data_path.c_str()) == kCustomOk;
      break;
    case RestoreOutcome::kReopenFailed:
      break;
  }
  if (open) {
    MessageBox::Information(window_, QString::fromUtf8(kRestoredText));
  } else {
    MessageBox::Error(window_, QString::fromUtf8(lookup::kCorruptedDataMessage));
  }
  emit DatabaseChanged();
}

void CustomDatabaseCommands::UpdateMenu(QAction* edit_entries, QAction* backup) const {
  const bool any = HasCustomEntries(store_);
  if (edit_entries != nullptr) edit_entries->setEnabled(any);
  if (backup != nullptr) backup->setEnabled(any);
}
