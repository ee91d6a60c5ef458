#include "app/panes/WordLink.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

WordLink::WordLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(text);
  UpdateColour();
}

void WordLink::SetLinkColor(const QColor& colour) {
  colour_ = colour;
  UpdateColour();
}

void WordLink::UpdateColour() {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colour_.value_or(colours.color(QPalette::Link)));
  setPalette(colours);
}

void WordLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit Activated();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void WordLink::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
    emit Activated();
    return;
  }
  QLabel::keyPressEvent(event);
}

void WordLink::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.backgroundColor = palette().color(backgroundRole());
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void WordLink::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  // A theme change brings another link colour.
  if (event->type() == QEvent::PaletteChange && !colour_) {
    const QColor link = palette().color(QPalette::Link);
    if (palette().color(QPalette::WindowText) != link) UpdateColour();
  }
}
