#include "app/custom/EditableWordList.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStandardItemModel>

#include <algorithm>

CEditableWordList::CEditableWordList(const QString& heading, QWidget* parent)
    : QTableView(parent), model_(new QStandardItemModel(0, 1, this)) {
  model_->setHorizontalHeaderLabels({heading});
  setModel(model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // Rows as tall as the in-place edit that opens over them.
  QLineEdit probe;
  probe.setFont(font());
  verticalHeader()->setDefaultSectionSize(probe.sizeHint().height());
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  if (heading.isEmpty()) horizontalHeader()->hide();

  menu_ = new QMenu(this);
  add_action_ = menu_->addAction(tr("Add item"), this, &CEditableWordList::StartNewItem);
  edit_action_ = menu_->addAction(tr("Edit item"), this, [this] {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty()) StartEdit(rows.first());
  });
  delete_action_ =
      menu_->addAction(tr("Delete item"), this, &CEditableWordList::DeleteSelectedItems);
  clear_action_ = menu_->addAction(tr("Clear all"), this, &CEditableWordList::Clear);
}

QStringList CEditableWordList::Items() const {
  QStringList items;
  for (int row = 0; row < model_->rowCount(); ++row)
    items.append(model_->item(row)->text());
  return items;
}

void CEditableWordList::SetItems(const QStringList& items) {
  if (editor_ != nullptr) CloseEditor(false);
  model_->removeRows(0, model_->rowCount());
  for (const QString& text : items) {
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    model_->appendRow(item);
  }
}

int CEditableWordList::ItemCount() const {
  return model_->rowCount();
}

QList<int> CEditableWordList::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows())
    rows.append(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CEditableWordList::StartNewItem() {
  FinishEditing();
  auto* item = new QStandardItem();
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  model_->appendRow(item);
  Open(model_->rowCount() - 1, true);
}

void CEditableWordList::StartEdit(int row) {
  if (editor_ != nullptr) {
    if (editor_->row() == row) return;
    // Committing may remove the edited item, and with it move the target up.
    const int edited = editor_->row();
    if (!Commit() && edited < row) --row;
    CloseEditor(false);
  }
  if (row >= 0 && row < model_->rowCount()) Open(row, false);
}

void CEditableWordList::FinishEditing() {
  if (editor_ == nullptr) return;
  Commit();
  CloseEditor(false);
}

void CEditableWordList::Open(int row, bool new_item) {
  const QModelIndex index = model_->index(row, 0);
  scrollTo(index);
  setCurrentIndex(index);
  editor_ = new CInPlaceEdit(row, model_->item(row)->text(), new_item, viewport());
  connect(editor_, &CInPlaceEdit::MoveRequested, this, &CEditableWordList::OnMove);
  editor_->Place(visualRect(index), viewport()->width());
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
}

bool CEditableWordList::Commit() {
  const int row = editor_->row();
  const QString text = editor_->text();
  if (text.isEmpty()) {
    model_->removeRow(row);
    return false;
  }
  if (!text.trimmed().isEmpty()) model_->item(row)->setText(text);
  return true;
}

void CEditableWordList::CloseEditor(bool focus_list) {
  CInPlaceEdit* editor = editor_;
  editor_ = nullptr;
  editor->set_closing();
  if (focus_list) setFocus(Qt::OtherFocusReason);
  editor->hide();
  editor->deleteLater();
}

int CEditableWordList::PageSize() const {
  const int row_height = qMax(1, verticalHeader()->defaultSectionSize());
  return qMax(1, viewport()->height() / row_height);
}

void CEditableWordList::OnMove(CInPlaceEdit::Move move) {
  using Move = CInPlaceEdit::Move;
  const int row = editor_->row();
  const int last = model_->rowCount() - 1;
  int target = -1;  // the item to edit next; -1 ends editing
  switch (move) {
    case Move::kCancel:
      if (editor_->new_item()) model_->removeRow(row);
      CloseEditor(true);
      return;
    case Move::kLeave:
      FinishEditing();
      return;
    case Move::kUp:
      if (row == 0) return;
      target = row - 1;
      break;
    case Move::kDown:
      if (editor_->text().isEmpty() || row == last) return;
      target = row + 1;
      break;
    case Move::kFirst:
      target = 0;
      break;
    case Move::kLast:
      target = last;
      break;
    case Move::kPageUp:
      target = qMax(0, row - PageSize());
      break;
    case Move::kPageDown:
      target = qMin(last, row + PageSize());
      break;
    case Move::kNext: {
      const bool kept = Commit();
      const bool go_on = kept && !model_->item(row)->text().isEmpty();
      CloseEditor(!go_on);
      if (!go_on) return;
      if (row + 1 < model_->rowCount()) {
        Open(row + 1, false);
      } else {
        StartNewItem();
      }
      return;
    }
  }
  if (!Commit() && target > row) --target;
  CloseEditor(false);
  target = qMin(target, model_->rowCount() - 1);
  if (target >= 0) {
    Open(target, false);
  } else {
    setFocus(Qt::OtherFocusReason);
  }
}

void CEditableWordList::DeleteSelectedItems() {
  FinishEditing();
  const QList<int> rows = SelectedRows();
  for (auto it = rows.crbegin(); it != rows.crend(); ++it)
    model_->removeRow(*it);
}

QMenu* CEditableWordList::ContextMenu() {
  const qsizetype selected = SelectedRows().size();
  edit_action_->setEnabled(selected == 1);
  delete_action_->setEnabled(selected >= 1);
  clear_action_->setEnabled(model_->rowCount() > 0);
  return menu_;
}

void CEditableWordList::contextMenuEvent(QContextMenuEvent* event) {
  FinishEditing();
  ContextMenu()->popup(event->globalPos());
  event->accept();
}

void CEditableWordList::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  event->accept();
  if (!index.isValid()) {
    StartNewItem();
    return;
  }
  const int row = index.row();
  // An empty item is not reopened where it follows nothing or another empty item.
  const bool empty = model_->item(row)->text().isEmpty();
  if (empty && (row == 0 || model_->item(row - 1)->text().isEmpty())) return;
  StartEdit(row);
}

void CEditableWordList::keyPressEvent(QKeyEvent* event) {
  const bool plain =
      event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (plain) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_F2:
        if (currentIndex().isValid()) {
          StartEdit(currentIndex().row());
        } else {
          StartNewItem();
        }
        event->accept();
        return;
      case Qt::Key_Insert:
        StartNewItem();
        event->accept();
        return;
      case Qt::Key_Delete:
        DeleteSelectedItems();
        event->accept();
        return;
      default:
        break;
    }
  }
  QTableView::keyPressEvent(event);
}
