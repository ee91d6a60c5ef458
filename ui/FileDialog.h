// Every file dialog of the window goes through here (Qt's file dialogs, native where the desktop
// offers them).
//
// Tests switch on the test mode: no dialog is shown; each call takes the next queued answer (an
// empty text is a cancelled dialog, as is an empty queue) and is recorded with its arguments.
#pragma once

#include <QList>
#include <QString>

class QWidget;

class FileDialog {
 public:
  struct Asked {
    bool save;
    QString caption;
    QString suggested;  // the folder or file name offered
    QString filter;
  };

  // The chosen file, or an empty text when the user cancelled. `default_suffix` (without the
  // dot) is appended to a typed name without one.
  static QString OpenFile(QWidget* parent, const QString& caption, const QString& suggested,
                          const QString& filter);
  static QString SaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                          const QString& filter, const QString& default_suffix);

  // Test hook.
  static void SetTestMode(bool on);
  static void QueueAnswer(const QString& path);
  static QList<Asked> TakeAsked();
};
