// The "Options" sheet: one tab per page, with OK, Cancel and Apply. Each page comes with the
// function that applies what it shows; OK and Apply run them in page order. Apply is available
// once a page has been modified (SetModified), until it has been applied.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QPushButton;
class QTabWidget;

class COptionsSheet : public QDialog {
  Q_OBJECT

 public:
  explicit COptionsSheet(QWidget* parent = nullptr);

  // Adds `page` (the sheet takes it) as the tab `title`.
  void AddPage(QWidget* page, const QString& title, std::function<void()> apply);
  QTabWidget* Tabs() const { return tabs_; }

  void Apply();
  void SetModified(bool modified);

 private:
  QTabWidget* tabs_;
  QPushButton* apply_button_;
  std::vector<std::function<void()>> apply_;
};
