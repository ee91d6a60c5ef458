// The program's help: its HTML pages (help/index.html and the pages it links to) in a window
// of their own, with Back, Forward and Contents; Escape closes it. Links to other sites open in
// the desktop's browser.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

class CHelpWindow : public QWidget {
  Q_OBJECT

 public:
  // `help_dir` holds index.html; an empty or missing folder shows a short note instead.
  explicit CHelpWindow(const QString& help_dir, QWidget* parent = nullptr);

  // Shows `page` (a file name of the help folder, "index.html" for the contents) and brings
  // the window forward.
  void ShowPage(const QString& page);
  QTextBrowser* Browser() const { return browser_; }
  QString CurrentPage() const;

 private:
  QString help_dir_;
  QTextBrowser* browser_;
};
