// CAnagramsPropertyPage: the "Anagrams" page of the "Options" sheet: the word lengths ("Min :"
// and "Max :", 1 to 50), the Maximum Number ("Max :", 0 to 10,000, shown with thousands
// separators), "Show all permutations" and "Sort anagrams alphabetically".
//
// Every change of the Maximum Number's text runs the number check of anagram_options.h: a
// text with another character than digits and commas is cut before it ("Please enter numbers
// only"), a number above 10,000 becomes "10,000" ("The maximum number of anagrams is
// 10,000"). A change of a length, a valid Maximum Number and a click on either check box make
// the page modified (Modified(): the sheet's Apply becomes available). The sheet stores
// Options() on OK and Apply.
#pragma once

#include <QWidget>

#include "app/anagrams/AnagramOptions.h"

class QCheckBox;
class QSpinBox;

class CAnagramsPropertyPage : public QWidget {
  Q_OBJECT

 public:
  explicit CAnagramsPropertyPage(const AnagramOptions& options, QWidget* parent = nullptr);

  // The two check boxes and the three numbers as the page shows them (the Maximum Number as
  // its arrows hold it); "Filter" as it was given.
  AnagramOptions Options() const;
  bool modified() const { return modified_; }

 signals:
  void Modified();

 private:
  void SetModified();
  void CheckMaximumNumber(const QString& text);

  AnagramOptions options_;
  QSpinBox* min_length_;
  QSpinBox* max_length_;
  QSpinBox* max_anagrams_;
  QCheckBox* permutations_;
  QCheckBox* sort_;
  bool modified_ = false;
  bool correcting_ = false;  // the number check is replacing the text
};
