// FlowLayout: lays its items out left to right and starts a new line where the next one would
// pass the right edge, as words wrap in a paragraph. Its height follows its width.
#pragma once

#include <QLayout>
#include <QList>

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr);
  ~FlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items in `rect` (or only measures, when `place` is false); the height used.
  int Arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
};
