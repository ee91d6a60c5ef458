#include "app/anagrams/AnagramsPropertyPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/MessageBox.h"

namespace {

constexpr int kLongestWord = 50;
constexpr int kLengthCharacters = 2;
constexpr int kNumberCharacters = 6;  // "10,000"

// A number box with up-down arrows whose text the page watches as it changes.
class NumberBox : public QSpinBox {
 public:
  using QSpinBox::lineEdit;

  NumberBox(int minimum, int maximum, int characters, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    lineEdit()->setMaxLength(characters);
  }
};

// The Maximum Number: it lets any text through, since the page's number check corrects it
// with a message, and it writes thousands with ',' whatever the locale, as the messages do.
class MaximumNumberBox : public NumberBox {
 public:
  using NumberBox::NumberBox;

 protected:
  QValidator::State validate(QString& text, int&) const override {
    bool number = false;
    const int value = Digits(text).toInt(&number);
    return number && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
  }
  int valueFromText(const QString& text) const override { return Digits(text).toInt(); }
  QString textFromValue(int value) const override {
    QLocale thousands(QLocale::C);
    thousands.setNumberOptions({});  // with the group separator
    return thousands.toString(value);
  }

 private:
  static QString Digits(const QString& text) {
    QString digits = text.trimmed();
    digits.remove(QLatin1Char(','));
    return digits;
  }
};

QLabel* LabelFor(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

CAnagramsPropertyPage::CAnagramsPropertyPage(const AnagramOptions& options, QWidget* parent)
    : QWidget(parent),
      options_(options),
      min_length_(new NumberBox(1, kLongestWord, kLengthCharacters, this)),
      max_length_(new NumberBox(1, kLongestWord, kLengthCharacters, this)),
      max_anagrams_(
          new MaximumNumberBox(0, anagram::kMaximumAnagramsLimit, kNumberCharacters, this)),
      permutations_(new QCheckBox(QStringLiteral("Show all permutations"), this)),
      sort_(new QCheckBox(QStringLiteral("Sort anagrams alphabetically"), this)) {
  setObjectName(QStringLiteral("anagramsPage"));
  setWindowTitle(QStringLiteral("Anagrams"));
  setAccessibleName(QStringLiteral("Anagrams"));
  min_length_->setObjectName(QStringLiteral("anagramMinLength"));
  min_length_->setAccessibleName(QStringLiteral("Minimum word length"));
  max_length_->setObjectName(QStringLiteral("anagramMaxLength"));
  max_length_->setAccessibleName(QStringLiteral("Maximum word length"));
  max_anagrams_->setObjectName(QStringLiteral("anagramMaxNumber"));
  max_anagrams_->setAccessibleName(QStringLiteral("Maximum number of anagrams"));
  permutations_->setObjectName(QStringLiteral("anagramPermutations"));
  sort_->setObjectName(QStringLiteral("anagramSort"));

  min_length_->setValue(options.request.min_length);
  max_length_->setValue(options.request.max_length);
  max_anagrams_->setValue(options.request.max_anagrams);
  permutations_->setChecked(options.request.permutations);
  sort_->setChecked(options.sort);

  auto* lengths = new QGroupBox(QStringLiteral("Word Length"), this);
  auto* lengths_row = new QHBoxLayout(lengths);
  lengths_row->addWidget(LabelFor(QStringLiteral("Min :"), min_length_, lengths));
  lengths_row->addWidget(min_length_);
  lengths_row->addSpacing(fontMetrics().averageCharWidth() * 2);
  lengths_row->addWidget(LabelFor(QStringLiteral("Max :"), max_length_, lengths));
  lengths_row->addWidget(max_length_);
  lengths_row->addStretch(1);
  auto* number = new QGroupBox(QStringLiteral("Maximum Number"), this);
  auto* number_row = new QHBoxLayout(number);
  number_row->addWidget(LabelFor(QStringLiteral("Max :"), max_anagrams_, number));
  number_row->addWidget(max_anagrams_);
  number_row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lengths);
  layout->addWidget(number);
  layout->addWidget(permutations_);
  layout->addWidget(sort_);
  layout->addStretch(1);
  setTabOrder(min_length_, max_length_);
  setTabOrder(max_length_, max_anagrams_);
  setTabOrder(max_anagrams_, permutations_);
  setTabOrder(permutations_, sort_);

  // Watched from here on, so that the values above mark nothing. Typing changes the text of
  // the box's line edit; the arrows change the value (and the text without a signal).
  for (QSpinBox* box : {min_length_, max_length_, max_anagrams_})
    connect(box, &QSpinBox::valueChanged, this, &CAnagramsPropertyPage::SetModified);
  for (QSpinBox* box : {min_length_, max_length_})
    connect(static_cast<NumberBox*>(box)->lineEdit(), &QLineEdit::textChanged, this,
            &CAnagramsPropertyPage::SetModified);
  connect(static_cast<NumberBox*>(max_anagrams_)->lineEdit(), &QLineEdit::textChanged, this,
          &CAnagramsPropertyPage::CheckMaximumNumber);
  connect(permutations_, &QCheckBox::clicked, this, &CAnagramsPropertyPage::SetModified);
  // Sorting is a setting like the others: a click makes it something to apply.
  connect(sort_, &QCheckBox::clicked, this, &CAnagramsPropertyPage::SetModified);
}

AnagramOptions CAnagramsPropertyPage::Options() const {
  AnagramOptions options = options_;
  options.request.min_length = min_length_->value();
  options.request.max_length = max_length_->value();
  options.request.max_anagrams = max_anagrams_->value();
  options.request.permutations = permutations_->isChecked();
  options.sort = sort_->isChecked();
  return options;
}

void CAnagramsPropertyPage::SetModified() {
  modified_ = true;
  emit Modified();
}

void CAnagramsPropertyPage::CheckMaximumNumber(const QString& text) {
  if (correcting_) return;
  const anagram::MaximumNumberCheck check = anagram::CheckMaximumNumber(text.toStdString());
  if (check.replace_text) {
    correcting_ = true;
    static_cast<NumberBox*>(max_anagrams_)->lineEdit()->setText(QString::fromStdString(check.text));
    correcting_ = false;
  }
  if (!check.message.empty()) MessageBox::Error(this, QString::fromStdString(check.message));
  if (check.modified) SetModified();
}
