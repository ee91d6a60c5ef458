// CHelpFormView: the upper row after an unknown word: a white form with the text "Add to custom
// dictionary", always underlined. A click on the text, or Enter or Space while it has the
// focus, emits AddToCustomRequested. (A plain label for now; the hyperlink label replaces it.)
#pragma once

#include <QWidget>

class QLabel;

class CHelpFormView : public QWidget {
  Q_OBJECT

 public:
  explicit CHelpFormView(QWidget* parent = nullptr);

  QLabel* Link() const { return link_; }

 signals:
  void AddToCustomRequested();

 private:
  QLabel* link_;
};
