// The About box: the program's name and version, and the credit of the lexical database the
// dictionary is built from (WordNet 3.0, Princeton University) with a link to its licence.
#pragma once

#include <QDialog>

class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr char kVersionText[] = "Version 1.40";

  explicit CAboutDialog(QWidget* parent = nullptr);

 signals:
  // The licence link was followed: show the help page `page`.
  void HelpPageRequested(const QString& page);
};
