#include "app/shell/StartupReport.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "app/shell/HistoryCombo.h"
#include "app/shell/MainDialog.h"

namespace {

long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  return -1;
}

class ReadyWatcher : public QObject {
 public:
  explicit ReadyWatcher(QWidget* box) : QObject(box), box_(box) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && box_->hasFocus() && !reported_) {
      reported_ = true;
      // After this paint has reached the screen.
      QTimer::singleShot(0, qApp, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("ready_ns %lld\nrss_kb %ld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    ResidentKilobytes());
        std::fflush(stdout);
        QApplication::quit();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* box_;
  bool reported_ = false;
};

}  // namespace

void ReportWhenReady(CMainDialog* dialog) {
  QLineEdit* edit = dialog->tool_row()->LookupBox()->lineEdit();
  edit->installEventFilter(new ReadyWatcher(edit));
  edit->update();
}
