// A one-column list whose items are edited in place (the examples of usage and the related
// words of the entry dialogs). Items are texts; editing starts only from the pop-up menu, a
// double click, or the keyboard (Enter or F2 edits the current item, Insert starts a new one,
// Delete removes the selected ones), never from a single click.
//
// Committing an edit: an empty text removes the item; a text of white space only leaves the
// item as it was; any other text becomes the item's text as typed. Esc drops a new item and
// leaves an existing one as it was.
#pragma once

#include <QStringList>
#include <QTableView>

#include "app/custom/InPlaceEdit.h"

class QMenu;
class QStandardItemModel;

class CEditableWordList : public QTableView {
  Q_OBJECT

 public:
  // `heading` is the column's heading ("" for the examples, "Related words" for a panel).
  explicit CEditableWordList(const QString& heading, QWidget* parent = nullptr);

  QStringList Items() const;
  // Replaces every item; an open edit is dropped.
  void SetItems(const QStringList& items);
  void Clear() { SetItems({}); }
  int ItemCount() const;

  // Starts editing a new, empty item at the end ("Add item", Ctrl+U, Ctrl+E).
  void StartNewItem();
  // Starts editing item `row` (an open edit is committed first).
  void StartEdit(int row);
  // Commits an open edit, so that Items() holds what the user typed.
  void FinishEditing();
  CInPlaceEdit* editor() const { return editor_; }

  // Removes the selected items ("Delete item").
  void DeleteSelectedItems();

  // The right-button menu ("Add item", "Edit item", "Delete item", "Clear all") with its
  // enabling rules applied for the current items and selection.
  QMenu* ContextMenu();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QList<int> SelectedRows() const;
  void Open(int row, bool new_item);
  void OnMove(CInPlaceEdit::Move move);
  // Applies the commit rules to the edited item; false when the item was removed.
  bool Commit();
  // Ends the edit without touching the item; the box goes.
  void CloseEditor(bool focus_list);
  int PageSize() const;

  QStandardItemModel* model_;
  CInPlaceEdit* editor_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* add_action_;
  QAction* edit_action_;
  QAction* delete_action_;
  QAction* clear_action_;
};
