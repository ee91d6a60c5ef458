#include "app/shell/HistoryCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>

#include "app/shell/Settings.h"

namespace {

// Stored entries are deleted up to the first missing one, and never beyond this index.
constexpr int kLastStoredIndex = 999;

}  // namespace

CHistoryCombo::CHistoryCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // entries come only through AddEntry
  setMaxCount(kLastStoredIndex + 1);
  setDuplicatesEnabled(true);  // AddEntry itself removes duplicates
  lineEdit()->installEventFilter(this);
}

namespace {

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

void CHistoryCombo::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event) && !view()->isVisible()) {
    emit EnterPressed();
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

bool CHistoryCombo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && IsEnter(event)) {
    emit EnterPressed();
    return true;
  }
  return QComboBox::eventFilter(watched, event);
}

QString CHistoryCombo::LastTextName() const {
  if (!last_text_name_.isEmpty()) return last_text_name_;
  return prefix_.isEmpty() ? QStringLiteral("Last") : prefix_;
}

void CHistoryCombo::Load(const QString& section, const QString& prefix, bool restore_last_text,
                         const QString& last_text_name) {
  clear();
  section_ = section;
  prefix_ = prefix;
  restore_last_text_ = restore_last_text;
  last_text_name_ = last_text_name;

  std::unique_ptr<QSettings> store = Settings::OpenStore();
  store->beginGroup(section_);
  for (int i = 0; i < maximum_; ++i) {
    const QString entry = store->value(prefix_ + QString::number(i)).toString();
    if (entry.isEmpty()) break;
    addItem(entry);
  }
  setCurrentIndex(-1);
  if (!restore_last_text_) return;
  const QString last = store->value(LastTextName()).toString();
  if (last.isEmpty()) return;
  const int index = findText(last, Qt::MatchFixedString);  // whole text, case aside
  if (index >= 0) {
    setCurrentIndex(index);
  } else {
    setEditText(last);
  }
}

void CHistoryCombo::AddEntry(const QString& text) {
  // Inserting changes the box's text only through the selection below.
  insertItem(0, text);
  for (int i = count() - 1; i > 0; --i)
    if (itemText(i).compare(text, Qt::CaseInsensitive) == 0) removeItem(i);
  while (count() > maximum_)
    removeItem(maximum_);
  setCurrentIndex(0);
}

void CHistoryCombo::SetMaximum(int maximum) {
  maximum_ = std::max(0, maximum);
  while (count() > maximum_)
    removeItem(maximum_);
}

bool CHistoryCombo::HasEntryStartingWith(const QString& prefix) const {
  return findText(prefix, Qt::MatchStartsWith) >= 0;
}

void CHistoryCombo::DeleteStoredEntries(int from) const {
  std::unique_ptr<QSettings> store = Settings::OpenStore();
  store->beginGroup(section_);
  for (int i = from; i <= kLastStoredIndex; ++i) {
    const QString name = prefix_ + QString::number(i);
    if (!store->contains(name)) break;
    store->remove(name);
  }
}

void CHistoryCombo::Save(bool add_current_text) {
  if (section_.isEmpty()) return;
  if (add_current_text && !currentText().isEmpty()) AddEntry(currentText());
  const int written = std::min(count(), maximum_ + 1);
  {
    std::unique_ptr<QSettings> store = Settings::OpenStore();
    store->beginGroup(section_);
    for (int i = 0; i < written; ++i)
      store->setValue(prefix_ + QString::number(i), itemText(i));
    if (restore_last_text_) store->setValue(LastTextName(), currentText());
  }
  DeleteStoredEntries(written);
}

void CHistoryCombo::Clear(bool delete_stored) {
  const QString text = currentText();
  clear();
  if (delete_stored && !section_.isEmpty()) {
    DeleteStoredEntries(0);
    std::unique_ptr<QSettings> store = Settings::OpenStore();
    store->beginGroup(section_);
    store->remove(LastTextName());
  }
  setEditText(text);
}
