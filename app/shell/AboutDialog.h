// The About box: the program's name and version, and the credit of the lexical database the
// dictionary is built from (WordNet 3.0, Princeton University) with a link to its licence, and
// what the window says of its data (whether the irregular forms are on).
#pragma once

#include <QDialog>

class QLabel;

class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr char kVersionText[] = "Version 1.40";

  explicit CAboutDialog(QWidget* parent = nullptr);

  // A line about the data under the credit ("Irregular forms: 4,732 forms from 1001E.dat");
  // empty hides it.
  void SetDataStatus(const QString& text);

 signals:
  // The licence link was followed: show the help page `page`.
  void HelpPageRequested(const QString& page);

 private:
  QLabel* data_status_;
};
