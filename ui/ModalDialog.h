// The window's modal dialogs that are neither message boxes nor file dialogs (the tip of the
// day, the print and page set-up dialogs, the print preview) run through here.
//
// Tests switch on the test mode: no dialog is shown. Exec records the dialog's object name and
// returns the next queued answer (QDialog::Rejected when the queue is empty); Open records it
// and leaves it open but hidden, so the test can work its controls and close it.
#pragma once

#include <QStringList>

class QDialog;

class ModalDialog {
 public:
  // Runs `dialog` and returns its result (QDialog::Accepted or Rejected).
  static int Exec(QDialog* dialog);
  // Opens `dialog` modal to its window without waiting for it.
  static void Open(QDialog* dialog);

  // Test hook.
  static void SetTestMode(bool on);
  static bool TestMode();
  static void QueueAnswer(int result);
  // The object names of the dialogs run or opened since the last call, oldest first.
  static QStringList TakeShown();
};
