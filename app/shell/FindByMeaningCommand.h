// Edit > Find by Meaning...: the "Find by Meaning" window beside the main one, made at its
// first use and shown again with what it held. Its size and place are kept in the settings'
// "MeaningGeometry"; a word chosen in it is looked up as the Lookup button looks up the
// lookup box's text (history included).
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "app/meaning_ui/FindByMeaningDialog.h"

class CMainDialog;

class FindByMeaningCommand : public QObject {
  Q_OBJECT

 public:
  explicit FindByMeaningCommand(CMainDialog* window);

  // The compiled index the searches read ("1001S.dat" of the dictionary in use).
  void SetIndexPath(const QString& path) { index_path_ = path; }
  // Shows the window (once the engines are up), raised, with the focus in its description box.
  void Open();
  // Shut-down, before the engines close: the window's geometry is kept and a running search
  // waited for.
  void Close();

  FindByMeaningDialog* dialog() const { return dialog_; }

 private:
  void KeepGeometry();
  void LookUp(const QString& word);

  CMainDialog* window_;
  QString index_path_;
  QPointer<FindByMeaningDialog> dialog_;
};
