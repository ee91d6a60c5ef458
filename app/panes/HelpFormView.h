// CHelpFormView: the upper row after an unknown word: a white form with the hyperlink label
// "Add to custom dictionary" in its add-entry mode (white-backed, always underlined), and under
// it the spelling suggestions for the word ("Did you mean: receive, relieve, ..."), each a link.
// A click on "Add to custom dictionary", or Enter or Space while it has the focus, emits
// AddToCustomRequested; the same on a suggestion emits SuggestionActivated with its word. Tab
// walks from the first link to the last.
#pragma once

#include <QStringList>
#include <QWidget>

class CLinkLabel;
class FlowLayout;

class CHelpFormView : public QWidget {
  Q_OBJECT

 public:
  explicit CHelpFormView(QWidget* parent = nullptr);

  CLinkLabel* Link() const { return link_; }

  // The suggestions for the word shown, best first; none hides the line.
  void SetSuggestions(const QStringList& words);
  QStringList Suggestions() const { return suggestions_; }

 signals:
  void AddToCustomRequested();
  void SuggestionActivated(const QString& word);

 private:
  CLinkLabel* link_;
  QWidget* suggestion_row_;
  FlowLayout* suggestion_links_;
  QStringList suggestions_;
};
