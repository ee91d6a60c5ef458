#include "ui/LinkLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"

namespace {

// The colours of web links on a light page, and tones of them that read on a dark one.
const CLinkLabel::Colors kLightColors{QColor(0, 0, 238), QColor(85, 26, 139), QColor(255, 0, 0)};
const CLinkLabel::Colors kDarkColors{QColor(138, 180, 248), QColor(197, 138, 249),
                                     QColor(255, 123, 114)};

// Screen readers announce the label as a link named by its text, describe it by its target and
// can press it.
class LinkLabelAccessible : public QAccessibleWidget {
 public:
  explicit LinkLabelAccessible(CLinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override {
    const auto* label = static_cast<const CLinkLabel*>(widget());
    if (kind == QAccessible::Name && label->accessibleName().isEmpty()) return label->text();
    if (kind == QAccessible::Description && label->accessibleDescription().isEmpty()) {
      return label->Target();
    }
    return QAccessibleWidget::text(kind);
  }

  QStringList actionNames() const override {
    return QAccessibleWidget::actionNames() << pressAction();
  }

  void doAction(const QString& name) override {
    if (name == pressAction()) {
      static_cast<CLinkLabel*>(widget())->Activate();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }
};

QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<CLinkLabel*>(object);
  return label != nullptr ? new LinkLabelAccessible(label) : nullptr;
}

}  // namespace

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent) : QLabel(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(AccessibleFactory);
    return true;
  }();
  Q_UNUSED(installed);
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);
  QLabel::setText(text);
  UpdateLook();
  FitToText();
}

void CLinkLabel::SetText(const QString& text) {
  QLabel::setText(text);
  UpdateLook();
  FitToText();
}

void CLinkLabel::SetTarget(const QString& target) {
  target_ = target;
  if (text().isEmpty()) QLabel::setText(target);
  UpdateLook();
  FitToText();
}

QString CLinkLabel::Target() const {
  return target_.isEmpty() ? text() : target_;
}

void CLinkLabel::SetUnderline(Underline mode) {
  underline_ = mode;
  UpdateLook();
}

void CLinkLabel::SetAddEntryMode(bool on) {
  add_entry_mode_ = on;
  UpdateLook();
}

void CLinkLabel::SetAdjustToText(bool on) {
  adjust_to_text_ = on;
  FitToText();
}

void CLinkLabel::SetLinkColor(const QColor& colour) {
  link_colour_ = colour;
  UpdateLook();
}

void CLinkLabel::SetVisitedColor(const QColor& colour) {
  visited_colour_ = colour;
  UpdateLook();
}

void CLinkLabel::SetHoverColor(const QColor& colour) {
  hover_colour_ = colour;
  UpdateLook();
}

CLinkLabel::Colors CLinkLabel::CurrentColors() const {
  const bool light = add_entry_mode_ || palette().color(backgroundRole()).lightness() >= 128;
  const Colors& defaults = light ? kLightColors : kDarkColors;
  return {link_colour_.value_or(defaults.link), visited_colour_.value_or(defaults.visited),
          hover_colour_.value_or(defaults.hover)};
}

QColor CLinkLabel::TextColor() const {
  const Colors colours = CurrentColors();
  if (hovering_) return colours.hover;
  return visited_ ? colours.visited : colours.link;
}

void CLinkLabel::Activate() {
  if (add_entry_mode_) {
    emit AddEntryRequested();
    return;
  }
  SetHovering(false);
  UrlOpener::Open(Target(), this, [this](int result) { OnOpened(result); });
}

void CLinkLabel::OnOpened(int result) {
  if (UrlOpener::Succeeded(result)) {
    visited_ = true;
    UpdateLook();
    return;
  }
  QApplication::beep();
  MessageBox::Error(this, UrlOpener::FailureMessage(result));
}

void CLinkLabel::FitToText() {
  if (!adjust_to_text_) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    return;
  }
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  updateGeometry();
  const QSize size = sizeHint();
  const QRect now = geometry();
  const Qt::Alignment align = alignment();
  int x = now.left();
  if (align & Qt::AlignRight) {
    x = now.right() + 1 - size.width();
  } else if (align & Qt::AlignHCenter) {
    x = now.left() + (now.width() - size.width()) / 2;
  }
  const int y =
      align & Qt::AlignVCenter ? now.top() + (now.height() - size.height()) / 2 : now.top();
  setGeometry(x, y, size.width(), size.height());
}

void CLinkLabel::SetHovering(bool on) {
  if (hovering_ == on) return;
  hovering_ = on;
  UpdateLook();
}

bool CLinkLabel::Underlined() const {
  return add_entry_mode_ || underline_ == Underline::kAlways ||
         (underline_ == Underline::kWhileHovering && hovering_);
}

void CLinkLabel::UpdateLook() {
  setToolTip(add_entry_mode_ ? QString() : Target());
  update();
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
  SetHovering(true);
  QLabel::enterEvent(event);
}

void CLinkLabel::leaveEvent(QEvent* event) {
  SetHovering(false);
  QLabel::leaveEvent(event);
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event) {
  // A click leaves the label in its resting colour; the next move shows the hover again.
  if (rect().contains(event->position().toPoint())) SetHovering(true);
  QLabel::mouseMoveEvent(event);
}

void CLinkLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) {
    Activate();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void CLinkLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
    Activate();
    return;
  }
  QLabel::keyPressEvent(event);
}

// Drawn here rather than through the palette and font, which stay the owner's: the text in the
// colour of the state, underlined as the mode says, on white in add-entry mode.
void CLinkLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (add_entry_mode_) painter.fillRect(rect(), Qt::white);
  drawFrame(&painter);
  QFont shown = font();
  shown.setUnderline(Underlined());
  painter.setFont(shown);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, TextColor());
  const int gap = margin();
  style()->drawItemText(&painter, contentsRect().adjusted(gap, gap, -gap, -gap),
                        QStyle::visualAlignment(layoutDirection(), alignment()), colours,
                        isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void CLinkLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) FitToText();
}
