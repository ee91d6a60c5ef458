// CHtmlStatic: a static text control that draws its text as a small subset of HTML (see
// ui/html/markup.h and ui/html/layout.h for what the markup does).
//
// Colours: the text and background colours follow the palette (Text on Base) until a setter
// gives them; setting the text brings them back to the palette. The text is laid out again on
// every paint; clicks and the hand cursor use the link areas of the last paint.
//
// Links: a click, or Enter or Space on the link that has the keyboard focus (Tab and Shift+Tab
// move between links), opens the target. A target "APP:name" runs the command the owner added
// under that name (any case) while its context object lives; an unknown command does nothing.
// Any other target goes to UrlOpener; a target that does not open does nothing.
#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>
#include <functional>
#include <optional>

#include "ui/html/layout.h"

class QPainter;
class QtTextMeasurer;

class CHtmlStatic : public QWidget {
  Q_OBJECT

 public:
  explicit CHtmlStatic(QWidget* parent = nullptr);

  // The markup to draw. Colours go back to the palette's; the control is redrawn.
  void SetText(const QString& markup);
  QString Text() const { return text_; }
  // The text as a screen reader reads it (also the accessible name unless one is set).
  QString PlainText() const;

  // Each returns the colour in force before. The texts are colour texts of the markup
  // ("r,g,b", "#rrggbb", a colour name); what cannot be read gives black.
  QColor SetTextColor(const QColor& colour);
  QColor SetTextColor(const QString& colour_text);
  QColor SetBackgroundColor(const QColor& colour);
  QColor SetBackgroundColor(const QString& colour_text);
  QColor TextColor() const;
  QColor BackgroundColor() const;

  // On: a colour of the markup too close to the background it is drawn on is drawn with its
  // lightness turned round (ReadableTextColor), for text written for light backgrounds.
  void SetReadableColors(bool on);

  // Space kept free left of and above the text, in pixels.
  void SetMargins(int left, int top);

  // Adds the command that a link "APP:name" runs. While `context` is given, the command runs
  // only as long as that object lives. A later command of the same name takes its place.
  void AddCommand(const QString& name, QObject* context, std::function<void()> action);

  // The layout of the last paint (or of the last SetText): the text's pieces and link areas.
  const html::Layout& CurrentLayout() const { return layout_; }

  // Lays out `markup` for a width in `measurer`'s base font and draws it with `painter`; for
  // owners that draw the markup elsewhere (a printed page).
  static html::Layout LayOut(const QString& markup, QtTextMeasurer& measurer,
                             const html::LayoutStyle& style);
  static void Paint(QPainter& painter, const html::Layout& layout, const QtTextMeasurer& measurer);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Command {
    QString name;
    bool has_context;
    QPointer<QObject> context;
    std::function<void()> action;
  };

  html::Layout LayOutFor(int width) const;
  void Relayout();
  void UpdateCursor(const QPoint& position);
  void OpenTarget(const std::string& target);
  // The link areas' indexes, grouped by link: the keyboard's stops.
  QVector<QVector<int>> LinkGroups() const;

  QString text_;
  std::optional<QColor> text_colour_;
  std::optional<QColor> background_;
  bool readable_colours_ = false;
  int left_margin_ = 0;
  int top_margin_ = 0;
  QVector<Command> commands_;
  html::Layout layout_;
  int pressed_link_ = -1;  // area under the mouse press
  int focused_link_ = -1;  // index into LinkGroups(), -1 when no link has the focus
};
