// CTipDlg: the tip of the day. A heading, one tip of the tips file drawn by CHtmlStatic,
// "<<" and ">>" to step through the tips, "&Show tips at startup" and "&Close".
//
// Opening (in the constructor): the tip after the one shown last ("TipNo" + 1). The first
// time (no time stamp stored) it is the welcome tip, tip 0, under "Welcome"; when the file's
// modification time differs from the stored one the tips start over at tip 1; otherwise the
// heading is "Did you know...". The file's time is stored at once. A file that cannot be read
// shows "Tips file missing:" with its path under "Welcome", and the step buttons are off.
//
// Stepping: ">>" after the last tip comes back to tip 1, "<<" on tip 1 goes to the last one;
// the welcome tip is never shown again by stepping.
//
// Closing, however it happens: the check box becomes "Tips" and, when the file was read,
// "StartUp" too, and "TipNo" the number of the tip shown. With "StartUp" 0 the dialog closes
// as soon as it is started, without showing; the opening and closing steps still run.
//
// Dark themes: the tip area takes the palette's base and text colours, and colours of the
// markup too close to the background are drawn with their lightness turned round.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "ui/TipFile.h"

class CHtmlStatic;
class QCheckBox;
class QPushButton;

class CTipDlg : public QDialog {
  Q_OBJECT

 public:
  // The dialog's values in the program's settings.
  struct Values {
    int tip_no = 0;        // "TipNo": the tip shown last
    bool start_up = true;  // "StartUp": false runs the dialog without showing it
    QString time_stamp;    // "TimeStamp": the tips file's modification time when last read
    bool tips = true;      // the main window's "Tips"
  };
  // Called with the values to keep: after opening (the new time stamp) and at closing.
  using Store = std::function<void(const Values&)>;

  CTipDlg(const QString& tips_path, const Values& stored, Store store, QWidget* parent = nullptr);
  ~CTipDlg() override;

  // Opens the dialog modal to its window without waiting (ModalDialog::Open), or closes it at
  // once when "StartUp" is 0.
  void Start();

  void Next();
  void Previous();

  int TipNumber() const { return current_; }
  QString Title() const { return title_; }
  QString TipText() const;

  // Closes the dialog; the values are kept (see above).
  void done(int result) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void OpenFile(const QString& path);
  // Shows tip `number` (see TipFile::ReadUpTo); the welcome tip only when `welcome` is set.
  void Fetch(int number, bool welcome);
  void SetTitle(const QString& title);
  void ShowMissingFile();
  void Save();

  TipFile file_;
  QString path_;
  Values values_;
  Store store_;
  int current_ = 0;
  int highest_ = -1;
  bool show_ = true;
  bool saved_ = false;
  QString title_;

  CHtmlStatic* heading_ = nullptr;
  CHtmlStatic* tip_ = nullptr;
  QCheckBox* show_check_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
};
