// Every message the window shows goes through here: a QMessageBox with the application icon and
// the caption "Error", "Warning" or "Information", modal to its parent.
//
// Tests switch on the test mode: boxes are then recorded instead of shown and answered from a
// queue of answers (or with their default button when the queue is empty), so no test blocks.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class QWidget;

class MessageBox {
 public:
  enum class Kind { kError, kWarning, kInformation };

  struct Shown {
    Kind kind;
    QString text;
  };

  // "Error" with an OK button.
  static void Error(QWidget* parent, const QString& text);
  // "Information" with an OK button.
  static void Information(QWidget* parent, const QString& text);
  // A question captioned "Warning" with Yes and No; true when the answer is Yes.
  static bool Question(QWidget* parent, const QString& text,
                       QMessageBox::StandardButton default_button = QMessageBox::No);
  // The general form: the button the user chose (the default button when the box was closed).
  static QMessageBox::StandardButton Show(QWidget* parent, Kind kind, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton default_button);

  // The caption of a kind: "Error", "Warning" or "Information".
  static QString Caption(Kind kind);

  // Test hook.
  static void SetTestMode(bool on);
  static bool TestMode();
  static void QueueAnswer(QMessageBox::StandardButton answer);
  // The boxes shown since the last call, oldest first; the record is emptied.
  static QList<Shown> TakeShown();
};
