// The "Options" sheet: one tab per page, with OK, Cancel and Apply. Each page comes with the
// function that applies what it shows; OK and Apply run them in page order.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QTabWidget;

class COptionsSheet : public QDialog {
  Q_OBJECT

 public:
  explicit COptionsSheet(QWidget* parent = nullptr);

  // Adds `page` (the sheet takes it) as the tab `title`.
  void AddPage(QWidget* page, const QString& title, std::function<void()> apply);
  QTabWidget* Tabs() const { return tabs_; }

  void Apply();

 private:
  QTabWidget* tabs_;
  std::vector<std::function<void()>> apply_;
};
