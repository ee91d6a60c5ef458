// CUsageDialog: the modal "Usage" window: the examples of usage of the current word's senses in
// one list, in the "UsageFont": a heading per sense ("Sense  1 : Noun", in the bold cut of the
// font) and its examples in double quotes, indented below it. "Done" closes it.
#pragma once

#include <QDialog>
#include <QFont>
#include <vector>

#include "app/lookup/senses.h"

class QListWidget;

class CUsageDialog : public QDialog {
  Q_OBJECT

 public:
  CUsageDialog(const std::vector<lookup::UsageRow>& rows, const QFont& font,
               QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }

 private:
  QListWidget* list_;
};
