#include "app/custom/InPlaceEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

CInPlaceEdit::CInPlaceEdit(int row, const QString& text, bool new_item, QWidget* parent)
    : QLineEdit(text, parent), row_(row), new_item_(new_item), old_text_(text) {
  setObjectName(QStringLiteral("inPlaceEdit"));
  setAccessibleName(tr("Edit item"));
  setFrame(true);
  selectAll();
  connect(this, &QLineEdit::textChanged, this, &CInPlaceEdit::FitToText);
}

void CInPlaceEdit::Place(const QRect& cell, int max_width) {
  cell_ = cell;
  max_width_ = max_width;
  FitToText();
}

void CInPlaceEdit::FitToText() {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QSize wanted = style()->sizeFromContents(
      QStyle::CT_LineEdit, &option,
      QSize(fontMetrics().horizontalAdvance(text()) + fontMetrics().averageCharWidth(),
            fontMetrics().height()),
      this);
  const int room = qMax(cell_.width(), max_width_ - cell_.x());
  const int width = qMin(qMax(cell_.width(), wanted.width()), room);
  setGeometry(cell_.x(), cell_.y(), width, qMax(cell_.height(), wanted.height()));
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  Move move;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      move = Move::kNext;
      break;
    case Qt::Key_Escape:
      move = Move::kCancel;
      break;
    case Qt::Key_Up:
      move = Move::kUp;
      break;
    case Qt::Key_Down:
      move = Move::kDown;
      break;
    case Qt::Key_PageUp:
      move = Move::kPageUp;
      break;
    case Qt::Key_PageDown:
      move = Move::kPageDown;
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      if (!ctrl) {
        QLineEdit::keyPressEvent(event);
        return;
      }
      move = event->key() == Qt::Key_Home ? Move::kFirst : Move::kLast;
      break;
    default:
      QLineEdit::keyPressEvent(event);
      return;
  }
  event->accept();
  emit MoveRequested(move);
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A context menu of the box itself (paste, ...) takes the focus only for a moment.
  if (!closing_ && event->reason() != Qt::PopupFocusReason) emit MoveRequested(Move::kLeave);
}
