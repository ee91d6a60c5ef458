#include "app/shell/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget* widget, std::function<void()> action)
      : QObject(widget), widget_(widget), action_(std::move(action)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::Paint) {
      widget_->removeEventFilter(this);
      QTimer::singleShot(0, widget_, [widget = widget_, action = action_] {
        QTimer::singleShot(0, widget, action);
      });
      deleteLater();
    }
    return false;
  }

 private:
  QWidget* widget_;
  std::function<void()> action_;
};

}  // namespace

void RunAfterFirstPaint(QWidget* widget, std::function<void()> action) {
  new AfterFirstPaint(widget, std::move(action));
}
