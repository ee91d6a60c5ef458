// The box laid over an item of a CEditableWordList while the item is edited. It opens with the
// item's text, all of it selected, in the list's font, and widens with its text up to the
// list's width. Its keys do not act by themselves: each asks the list for a move (commit and
// go on, cancel, go up, ...), and the list decides what happens to the item and where editing
// goes next.
#pragma once

#include <QLineEdit>

class CInPlaceEdit : public QLineEdit {
  Q_OBJECT

 public:
  enum class Move {
    kNext,      // Enter
    kCancel,    // Esc
    kUp,        // Up
    kDown,      // Down
    kFirst,     // Ctrl+Home
    kLast,      // Ctrl+End
    kPageUp,    // Page Up
    kPageDown,  // Page Down
    kLeave,     // the focus went elsewhere
  };

  // Edits item `row`, of which `text` is the text (empty for a new item).
  CInPlaceEdit(int row, const QString& text, bool new_item, QWidget* parent);

  int row() const { return row_; }
  bool new_item() const { return new_item_; }
  const QString& old_text() const { return old_text_; }

  // Places the box over `cell`; it may widen to `max_width`.
  void Place(const QRect& cell, int max_width);

  // Set once the list has taken the edit's end: later focus changes ask for nothing.
  void set_closing() { closing_ = true; }

 signals:
  void MoveRequested(CInPlaceEdit::Move move);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void FitToText();

  int row_;
  bool new_item_;
  QString old_text_;
  QRect cell_;
  int max_width_ = 0;
  bool closing_ = false;
};
