// "Set Hotkey": one field of at most kHotKeyTextMaxLength characters holding the hotkey text.
// OK with a valid text accepts the dialog, and HotKeyText() is the trimmed text for the
// window to store in "Hotkey" and register; OK with an invalid text shows
// kInvalidHotKeyMessage and closes the dialog unaccepted, so the old hotkey stays.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

class CHotKeyDlg : public QDialog {
  Q_OBJECT

 public:
  // `current` is the stored hotkey text (Ctrl+Alt+T when empty).
  explicit CHotKeyDlg(const QString& current, QWidget* parent = nullptr);

  QString HotKeyText() const { return accepted_text_; }

 private:
  void OnOk();

  QLineEdit* field_;
  QString accepted_text_;
};
