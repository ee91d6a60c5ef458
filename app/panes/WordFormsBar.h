// WordFormsBar: the line above the senses list that says which form was looked up and offers
// the text's other base forms: "go (from went)", "involucre (from involucra)  also:
// involucrum". Each other form is a WordLink; activating one emits FormActivated with it. The
// bar hides itself when the text was the word itself and has no other base form.
#pragma once

#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QLabel;

class WordFormsBar : public QWidget {
  Q_OBJECT

 public:
  explicit WordFormsBar(QWidget* parent = nullptr);

  // `word` is the word whose senses are shown, `from` the text it was found from (empty: the
  // text was the word), `also` the text's other base forms; all in display form.
  void ShowForms(const QString& word, const QString& from, const QStringList& also);
  void Clear() { ShowForms({}, {}, {}); }

  // What the bar says, as a screen reader reads it ("go (from went), also: involucrum").
  QString Summary() const { return accessibleDescription(); }
  QStringList AlsoForms() const { return also_; }

 signals:
  void FormActivated(const QString& form);

 private:
  QLabel* origin_;
  QLabel* also_label_;
  QHBoxLayout* links_;
  QStringList also_;
};
