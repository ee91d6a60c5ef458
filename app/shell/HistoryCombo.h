// The lookup box: an editable drop-down list whose list is the lookup history, most recent
// entry first, at most `maximum` entries and no two that differ only in case. The history is
// read from the settings file at start-up ("History" group: item0, item1, ... and the text
// left in the box), written back at exit, and can be cleared.
#pragma once

#include <QComboBox>
#include <QString>

class CHistoryCombo : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int kDefaultMaximum = 25;

  explicit CHistoryCombo(QWidget* parent = nullptr);

  // Empties the list and reads the entries `prefix`0, `prefix`1, ... of `section` up to the
  // first missing or empty one. With `restore_last_text`, the text kept under
  // `last_text_name` (empty: the prefix, or "Last" when that is empty too) comes back: the
  // entry equal to it (case aside) is selected, else the text is put into the box.
  void Load(const QString& section, const QString& prefix, bool restore_last_text = true,
            const QString& last_text_name = QString());

  // Puts `text` first, removes other entries equal to it (case aside), drops the oldest
  // entries beyond the maximum, and selects it.
  void AddEntry(const QString& text);
  void SetMaximum(int maximum);
  int maximum() const { return maximum_; }

  // Writes the entries (and the box's text) to the section given to Load; nothing before a
  // Load. With `add_current_text`, the box's text becomes an entry first. Stored entries
  // beyond the list are deleted.
  void Save(bool add_current_text);

  // Empties the list; with `delete_stored`, also the stored entries and last text. The box
  // keeps its text.
  void Clear(bool delete_stored);

  // True when an entry begins with `prefix` (case aside).
  bool HasEntryStartingWith(const QString& prefix) const;

 signals:
  // Enter or Return in the box: the text is to be looked up. (The box itself then does
  // nothing more, so an entry equal to the text is not also "activated".)
  void EnterPressed();

 protected:
  // Enter reaches the box itself or its line edit, depending on which has the focus.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString LastTextName() const;
  void DeleteStoredEntries(int from) const;

  QString section_;
  QString prefix_;
  QString last_text_name_;
  bool restore_last_text_ = true;
  int maximum_ = kDefaultMaximum;
};
