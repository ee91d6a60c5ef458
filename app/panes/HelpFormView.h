// CHelpFormView: the upper row after an unknown word: a white form with the hyperlink label
// "Add to custom dictionary" in its add-entry mode (white-backed, always underlined). A click
// on it, or Enter or Space while it has the focus, emits AddToCustomRequested.
#pragma once

#include <QWidget>

class CLinkLabel;

class CHelpFormView : public QWidget {
  Q_OBJECT

 public:
  explicit CHelpFormView(QWidget* parent = nullptr);

  CLinkLabel* Link() const { return link_; }

 signals:
  void AddToCustomRequested();

 private:
  CLinkLabel* link_;
};
