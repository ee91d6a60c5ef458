// What the "Add Custom Entry" and "Edit Custom Entry" dialogs share: the form (word or phrase,
// type, definition, examples of usage, related words by tab), its keyboard table, and the
// checks of app/lookup/custom_entry.h with their messages. The two dialogs add their buttons
// and what happens on a valid form.
//
// Keyboard (ahead of the focused control's own keys): Esc and Ctrl+W to the word box, Ctrl+Y to
// the type list, Ctrl+D to the definition box, Ctrl+U a new example, Ctrl+T the tabs (first
// one selected), Ctrl+E a new related word on the shown tab, and the dialog's commit key
// (Ctrl+A for "&Add", Ctrl+O for "&Ok") to its button. In a related-word list Ctrl+U goes to
// the examples list instead, and the edit dialog also takes Ctrl+N for its button. Keys of an
// open in-place edit (Enter, Esc, arrows, pages) stay with it.
#pragma once

#include <QDialog>

#include "app/custom/CustomStore.h"
#include "app/lookup/custom_entry.h"

class CCustomEntryTabCtrl;
class CEditableWordList;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

class CustomEntryDialog : public QDialog {
  Q_OBJECT

 public:
  ~CustomEntryDialog() override;

  QLineEdit* word_edit() const { return word_edit_; }
  QComboBox* type_combo() const { return type_combo_; }
  QLineEdit* definition_edit() const { return definition_edit_; }
  CEditableWordList* examples() const { return examples_; }
  CCustomEntryTabCtrl* tabs() const { return tabs_; }
  // "&Add" or "&Ok".
  QPushButton* commit_button() const { return commit_button_; }

 signals:
  // F1: the help on custom entries.
  void HelpRequested();

 protected:
  CustomEntryDialog(const CustomStore& store, lookup::EntryDialog kind, QWidget* parent);

  // Adds a button; the first one added is the commit button and the default one.
  QPushButton* AddButton(const QString& text, const char* object_name);

  // Sets the type list and rebuilds the tabs (every related-word list emptied).
  void SetType(int type_index);
  void SetExamples(const QStringList& examples);

  // Runs the checks on the form. On a failure shows its message, empties the box it names
  // (the word or the definition) or goes to the list it names, and returns false.
  bool CheckForm(lookup::CustomEntryValues* values);

  const CustomStore& store() const { return store_; }

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class KeyAction {
    kNone,
    kWord,
    kType,
    kDefinition,
    kNewExample,
    kExamples,
    kTabs,
    kNewRelated,
    kCommitButton
  };
  KeyAction ActionFor(const QKeyEvent& key) const;
  void Perform(KeyAction action);
  lookup::CustomEntryForm ReadForm() const;

  CustomStore store_;
  lookup::EntryDialog kind_;
  QLineEdit* word_edit_;
  QComboBox* type_combo_;
  QLineEdit* definition_edit_;
  CEditableWordList* examples_;
  CCustomEntryTabCtrl* tabs_;
  QDialogButtonBox* buttons_;
  QPushButton* commit_button_ = nullptr;
};
