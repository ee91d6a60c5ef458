#include "app/shell/AfterFirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace {

// How long a painted window waits to become active before the action runs anyway (a desktop
// may refuse to activate it).
constexpr int kActivationWaitMs = 500;

// The hops through the event queue, posted below the normal priority: what the window queued
// for the screen (the repaint that shows the focus, at the same priority) and everything posted
// at the normal priority go first.
const QEvent::Type kHopEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
constexpr int kHops = 2;

class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget* widget, std::function<void()> action)
      : QObject(widget), widget_(widget), action_(std::move(action)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != widget_) return false;
    if (stage_ == Stage::kPaint && event->type() == QEvent::Paint) {
      if (widget_->isActiveWindow()) {
        Hop();
      } else {
        stage_ = Stage::kActivation;
        QTimer::singleShot(kActivationWaitMs, this, [this] {
          if (stage_ == Stage::kActivation) Hop();
        });
      }
    } else if (stage_ == Stage::kActivation && event->type() == QEvent::WindowActivate) {
      Hop();
    }
    return false;
  }

  void customEvent(QEvent* event) override {
    if (event->type() != kHopEvent) return;
    if (++hops_ < kHops) {
      Post();
      return;
    }
    const std::function<void()> action = std::move(action_);
    deleteLater();
    action();
  }

 private:
  enum class Stage { kPaint, kActivation, kQueue };

  void Hop() {
    stage_ = Stage::kQueue;
    widget_->removeEventFilter(this);
    Post();
  }

  void Post() { QCoreApplication::postEvent(this, new QEvent(kHopEvent), Qt::LowEventPriority); }

  QWidget* widget_;
  std::function<void()> action_;
  Stage stage_ = Stage::kPaint;
  int hops_ = 0;
};

}  // namespace

void RunAfterFirstPaint(QWidget* widget, std::function<void()> action) {
  new AfterFirstPaint(widget, std::move(action));
}

void RunAfterFirstPaintOrWhenHidden(QWidget* widget, std::function<void()> action) {
  auto once = [done = std::make_shared<bool>(false), action = std::move(action)] {
    if (*done) return;
    *done = true;
    action();
  };
  RunAfterFirstPaint(widget, once);
  QTimer::singleShot(0, widget, [widget, once] {
    if (!widget->isVisible()) once();
  });
}

void RunInTurns(QObject* context, std::vector<std::function<void()>> steps) {
  if (steps.empty()) return;
  QTimer::singleShot(0, context, [context, steps = std::move(steps)]() mutable {
    const std::function<void()> step = std::move(steps.front());
    steps.erase(steps.begin());
    step();
    RunInTurns(context, std::move(steps));
  });
}
