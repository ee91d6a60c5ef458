#include "app/panes/HelpFormView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

namespace {

// The form is white whatever the theme, so its text keeps a fixed link blue.
const QColor kFormBackground(Qt::white);
const QColor kLinkColour(0, 0, 238);

// The "Add to custom dictionary" text: underlined, a hand cursor, reachable with Tab, and
// activated by a click, Enter or Space.
class LinkText : public QLabel {
 public:
  LinkText(const QString& text, CHelpFormView* form) : QLabel(text, form), form_(form) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, kLinkColour);
    setPalette(colours);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setTextFormat(Qt::PlainText);
    setAccessibleName(text);
    setAccessibleDescription("Opens the dialog that adds the word to the custom dictionary");
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      emit form_->AddToCustomRequested();
  }

  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      emit form_->AddToCustomRequested();
      return;
    }
    QLabel::keyPressEvent(event);
  }

  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = kFormBackground;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }

 private:
  CHelpFormView* form_;
};

}  // namespace

CHelpFormView::CHelpFormView(QWidget* parent)
    : QWidget(parent), link_(new LinkText("Add to custom dictionary", this)) {
  setObjectName("helpForm");
  setAccessibleName("Unknown word");
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kFormBackground);
  setPalette(colours);
  link_->setObjectName("addToCustomLink");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(link_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch(1);
  setFocusProxy(link_);
}
