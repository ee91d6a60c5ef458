#include "app/shell/FindByMeaningCommand.h"

#include <QLineEdit>

#include "app/meaning_ui/FindByMeaningDialog.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainDialog.h"

FindByMeaningCommand::FindByMeaningCommand(CMainDialog* window)
    : QObject(window), window_(window) {}

void FindByMeaningCommand::Open() {
  if (!window_->handles().engines_started()) return;
  if (dialog_ == nullptr) {
    dialog_ = new FindByMeaningDialog(window_->handles().engine(),
                                      window_->handles().custom_handle(), index_path_, window_);
    const QByteArray geometry = window_->settings().Bytes(Setting::kMeaningGeometry);
    if (!geometry.isEmpty()) dialog_->restoreGeometry(geometry);
    connect(dialog_, &QDialog::finished, this, &FindByMeaningCommand::KeepGeometry);
    connect(dialog_, &FindByMeaningDialog::WordChosen, this, &FindByMeaningCommand::LookUp);
  }
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
  dialog_->description_box()->setFocus();
  dialog_->description_box()->selectAll();
}

void FindByMeaningCommand::Close() {
  if (dialog_ == nullptr) return;
  if (dialog_->isVisible()) KeepGeometry();
  dialog_->StopSearches();
}

void FindByMeaningCommand::KeepGeometry() {
  window_->settings().SetBytes(Setting::kMeaningGeometry, dialog_->saveGeometry());
}

void FindByMeaningCommand::LookUp(const QString& word) {
  if (window_->busy() || word.isEmpty()) return;
  window_->tool_row()->LookupBox()->setEditText(word);
  window_->lookup()->OnLookup();
  window_->raise();
  window_->activateWindow();
}
