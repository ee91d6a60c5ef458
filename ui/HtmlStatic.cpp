#include "ui/HtmlStatic.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "ui/QtTextMeasurer.h"
#include "ui/UrlOpener.h"
#include "ui/ViewColors.h"
#include "ui/html/colour.h"
#include "ui/html/markup.h"

namespace {

QColor ToQColor(const html::Colour& colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

html::Colour ToColour(const QColor& colour) {
  return {static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
          static_cast<uint8_t>(colour.blue())};
}

QRect RectOf(const html::LinkArea& area) {
  return QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1));
}

void MakeReadable(html::Layout* layout, const QColor& background) {
  for (html::TextPiece& piece : layout->pieces) {
    const QColor behind = piece.background ? ToQColor(*piece.background) : background;
    piece.colour = ToColour(ReadableTextColor(ToQColor(piece.colour), behind));
  }
  for (html::RulePiece& rule : layout->rules)
    rule.colour = ToColour(ReadableTextColor(ToQColor(rule.colour), background));
}

// Screen readers read the control as static text: its accessible name, or else the text
// without markup.
class HtmlStaticAccessible : public QAccessibleWidget {
 public:
  explicit HtmlStaticAccessible(CHtmlStatic* control)
      : QAccessibleWidget(control, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    const auto* control = static_cast<const CHtmlStatic*>(widget());
    if (kind == QAccessible::Name && control->accessibleName().isEmpty()) {
      return control->PlainText();
    }
    return QAccessibleWidget::text(kind);
  }
};

QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
  auto* control = qobject_cast<CHtmlStatic*>(object);
  return control != nullptr ? new HtmlStaticAccessible(control) : nullptr;
}

}  // namespace

CHtmlStatic::CHtmlStatic(QWidget* parent) : QWidget(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(AccessibleFactory);
    return true;
  }();
  Q_UNUSED(installed);
  setMouseTracking(true);
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

void CHtmlStatic::SetText(const QString& markup) {
  text_ = markup;
  text_colour_.reset();
  background_.reset();
  focused_link_ = -1;
  pressed_link_ = -1;
  Relayout();
  updateGeometry();
  update();
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

QString CHtmlStatic::PlainText() const {
  return QString::fromStdString(html::PlainText(text_.toStdString()));
}

QColor CHtmlStatic::TextColor() const {
  return text_colour_.value_or(palette().color(QPalette::Text));
}

QColor CHtmlStatic::BackgroundColor() const {
  return background_.value_or(palette().color(QPalette::Base));
}

QColor CHtmlStatic::SetTextColor(const QColor& colour) {
  const QColor before = TextColor();
  text_colour_ = colour;
  update();
  return before;
}

QColor CHtmlStatic::SetTextColor(const QString& colour_text) {
  return SetTextColor(ToQColor(html::ParseColour(colour_text.toStdString())));
}

QColor CHtmlStatic::SetBackgroundColor(const QColor& colour) {
  const QColor before = BackgroundColor();
  background_ = colour;
  update();
  return before;
}

QColor CHtmlStatic::SetBackgroundColor(const QString& colour_text) {
  return SetBackgroundColor(ToQColor(html::ParseColour(colour_text.toStdString())));
}

void CHtmlStatic::SetReadableColors(bool on) {
  readable_colours_ = on;
  update();
}

void CHtmlStatic::SetMargins(int left, int top) {
  left_margin_ = std::max(0, left);
  top_margin_ = std::max(0, top);
  updateGeometry();
  update();
}

void CHtmlStatic::AddCommand(const QString& name, QObject* context, std::function<void()> action) {
  Command command{name, context != nullptr, context, std::move(action)};
  for (Command& existing : commands_) {
    if (existing.name.compare(name, Qt::CaseInsensitive) == 0) {
      existing = std::move(command);
      return;
    }
  }
  commands_.append(std::move(command));
}

html::Layout CHtmlStatic::LayOut(const QString& markup, QtTextMeasurer& measurer,
                                 const html::LayoutStyle& style) {
  return html::LayOut(markup.toStdString(), style, measurer);
}

void CHtmlStatic::Paint(QPainter& painter, const html::Layout& layout,
                        const QtTextMeasurer& measurer) {
  for (const html::TextPiece& piece : layout.pieces) {
    if (piece.background) {
      painter.fillRect(QRect(piece.x, piece.y, piece.width, piece.height),
                       ToQColor(*piece.background));
    }
    painter.setFont(measurer.Font(piece.font));
    painter.setPen(ToQColor(piece.colour));
    painter.drawText(QPoint(piece.x, piece.y + piece.ascent), QString::fromStdString(piece.text));
  }
  for (const html::RulePiece& rule : layout.rules) {
    painter.fillRect(QRect(rule.x, rule.y, rule.width, rule.thickness), ToQColor(rule.colour));
  }
}

html::Layout CHtmlStatic::LayOutFor(int width) const {
  QtTextMeasurer measurer(font(), this);
  html::LayoutStyle style;
  style.base_font = measurer.BaseRunFont();
  style.text_colour = ToColour(TextColor());
  style.width = width;
  style.left_margin = left_margin_;
  style.top_margin = top_margin_;
  return LayOut(text_, measurer, style);
}

void CHtmlStatic::Relayout() {
  layout_ = LayOutFor(width());
  setFocusPolicy(layout_.links.empty() ? Qt::NoFocus : Qt::TabFocus);
  if (focused_link_ >= LinkGroups().size()) focused_link_ = -1;
}

QVector<QVector<int>> CHtmlStatic::LinkGroups() const {
  QVector<QVector<int>> groups;
  for (int i = 0; i < static_cast<int>(layout_.links.size()); ++i) {
    if (i > 0 && layout_.links[i].link == layout_.links[i - 1].link) {
      groups.back().append(i);
    } else {
      groups.append(QVector<int>{i});
    }
  }
  return groups;
}

QSize CHtmlStatic::sizeHint() const {
  const int width = fontMetrics().averageCharWidth() * 40 + left_margin_;
  return {width, heightForWidth(width)};
}

QSize CHtmlStatic::minimumSizeHint() const {
  return {fontMetrics().averageCharWidth() * 8 + left_margin_,
          fontMetrics().height() + top_margin_};
}

int CHtmlStatic::heightForWidth(int width) const {
  return LayOutFor(width).bottom + top_margin_;
}

bool CHtmlStatic::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const html::LinkArea* link = layout_.LinkAt(help->pos().x(), help->pos().y());
    if (link != nullptr && !html::AppCommandName(link->target)) {
      QToolTip::showText(help->globalPos(), QString::fromStdString(html::LinkAddress(link->target)),
                         this, RectOf(*link));
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

void CHtmlStatic::paintEvent(QPaintEvent*) {
  Relayout();
  if (readable_colours_) MakeReadable(&layout_, BackgroundColor());
  QPainter painter(this);
  painter.fillRect(rect(), BackgroundColor());
  QtTextMeasurer measurer(font(), this);
  Paint(painter, layout_, measurer);
  if (hasFocus() && focused_link_ >= 0) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = BackgroundColor();
    const QVector<QVector<int>> groups = LinkGroups();
    for (int area : groups[focused_link_]) {
      option.rect = RectOf(layout_.links[area]);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
  }
}

void CHtmlStatic::UpdateCursor(const QPoint& position) {
  if (layout_.LinkAt(position.x(), position.y()) != nullptr) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
}

void CHtmlStatic::mouseMoveEvent(QMouseEvent* event) {
  UpdateCursor(event->position().toPoint());
  QWidget::mouseMoveEvent(event);
}

void CHtmlStatic::mousePressEvent(QMouseEvent* event) {
  pressed_link_ = -1;
  if (event->button() == Qt::LeftButton) {
    const QPoint at = event->position().toPoint();
    const html::LinkArea* link = layout_.LinkAt(at.x(), at.y());
    if (link != nullptr) pressed_link_ = static_cast<int>(link - layout_.links.data());
  }
  QWidget::mousePressEvent(event);
}

void CHtmlStatic::mouseReleaseEvent(QMouseEvent* event) {
  const int pressed = std::exchange(pressed_link_, -1);
  const QPoint at = event->position().toPoint();
  const html::LinkArea* link = layout_.LinkAt(at.x(), at.y());
  if (event->button() == Qt::LeftButton && link != nullptr && pressed >= 0 &&
      layout_.links[pressed].link == link->link) {
    OpenTarget(link->target);
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void CHtmlStatic::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (focused_link_ >= 0 &&
      (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
    OpenTarget(layout_.links[LinkGroups()[focused_link_].front()].target);
    return;
  }
  QWidget::keyPressEvent(event);
}

void CHtmlStatic::focusInEvent(QFocusEvent* event) {
  const int count = LinkGroups().size();
  if (count > 0) focused_link_ = event->reason() == Qt::BacktabFocusReason ? count - 1 : 0;
  update();
  QWidget::focusInEvent(event);
}

void CHtmlStatic::focusOutEvent(QFocusEvent* event) {
  focused_link_ = -1;
  update();
  QWidget::focusOutEvent(event);
}

bool CHtmlStatic::focusNextPrevChild(bool next) {
  if (hasFocus() && focused_link_ >= 0) {
    const int to = focused_link_ + (next ? 1 : -1);
    if (to >= 0 && to < LinkGroups().size()) {
      focused_link_ = to;
      update();
      return true;
    }
  }
  return QWidget::focusNextPrevChild(next);
}

void CHtmlStatic::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
      updateGeometry();
      update();
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
}

void CHtmlStatic::OpenTarget(const std::string& target) {
  if (const std::optional<std::string> name = html::AppCommandName(target)) {
    const QString wanted = QString::fromStdString(*name);
    for (const Command& command : commands_) {
      if (command.name.compare(wanted, Qt::CaseInsensitive) != 0) continue;
      if (!command.has_context || command.context) command.action();
      return;
    }
    return;
  }
  UrlOpener::Open(QString::fromStdString(html::LinkAddress(target)), this, [](int) {});
}
