// WordLink: a word drawn as a link that the keyboard reaches. A click, or Enter or Space while
// it has the focus, emits Activated. It shows a hand cursor and a focus frame; its text is
// plain (no markup) and its accessible name is the text unless the owner sets another.
//
// The colour is the palette's link colour, or the one given to SetLinkColor (the white help
// form keeps a fixed blue whatever the theme).
#pragma once

#include <QColor>
#include <QLabel>
#include <optional>

class WordLink : public QLabel {
  Q_OBJECT

 public:
  explicit WordLink(const QString& text, QWidget* parent = nullptr);

  void SetLinkColor(const QColor& colour);

 signals:
  void Activated();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateColour();

  std::optional<QColor> colour_;
};
