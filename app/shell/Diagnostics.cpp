#include "app/shell/Diagnostics.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "app/panes/SenseListView.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainDialog.h"
#include "ui/ReportModel.h"

namespace {

long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  return -1;
}

// The processor time of every thread of the process so far: what a start costs, which a busy
// machine does not inflate as it does the wall time.
double ProcessorMilliseconds() {
  timespec time = {};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time) != 0) return -1;
  return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

// The processor time of the calling thread so far: a lookup's own work, which the other
// programs of a busy machine inflate far less than its wall time.
double ThreadMilliseconds() {
  timespec time = {};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time) != 0) return -1;
  return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

// Words looked up one after the other: the first of the session, then new words, then the
// first again.
constexpr const char* kTimedWords[] = {"cat", "dog", "tree", "house", "cat"};
// What runs after the first paint (the anagram list, the warm-up) is done by then.
constexpr int kSettleMs = 1000;

void TimeLookups(CMainDialog* dialog) {
  // The resident size once the anagram list has loaded too.
  std::printf("settled_rss_kb %ld\n", ResidentKilobytes());
  QLineEdit* edit = dialog->tool_row()->LookupBox()->lineEdit();
  for (const char* word : kTimedWords) {
    QElapsedTimer timer;
    timer.start();
    const double cpu_start = ThreadMilliseconds();
    edit->setText(QString::fromLatin1(word));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
    dialog->repaint();
    std::printf("lookup_ms %s %.2f %.2f\n", word, static_cast<double>(timer.nsecsElapsed()) / 1e6,
                ThreadMilliseconds() - cpu_start);
  }
  std::fflush(stdout);
}

class ReadyWatcher : public QObject {
 public:
  ReadyWatcher(QWidget* box, CMainDialog* dialog, bool time_lookups)
      : QObject(box), box_(box), dialog_(dialog), time_lookups_(time_lookups) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && box_->hasFocus() && !reported_) {
      reported_ = true;
      // After this paint has reached the screen.
      QTimer::singleShot(0, qApp, [dialog = dialog_, time_lookups = time_lookups_] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("ready_ns %lld\ncpu_ms %.1f\nrss_kb %ld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    ProcessorMilliseconds(), ResidentKilobytes());
        std::fflush(stdout);
        if (!time_lookups) {
          QApplication::quit();
          return;
        }
        QTimer::singleShot(kSettleMs, dialog, [dialog] {
          TimeLookups(dialog);
          QApplication::quit();
        });
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* box_;
  CMainDialog* dialog_;
  bool time_lookups_;
  bool reported_ = false;
};

}  // namespace

void ReportWhenReady(CMainDialog* dialog, bool time_lookups) {
  QLineEdit* edit = dialog->tool_row()->LookupBox()->lineEdit();
  edit->installEventFilter(new ReadyWatcher(edit, dialog, time_lookups));
  edit->update();
}

void ReportViewsIfAsked(CMainDialog* dialog) {
  const QString path = qEnvironmentVariable(kViewReportVariable);
  if (path.isEmpty()) return;
  QObject::connect(dialog->lookup(), &LookupController::StateChanged, dialog, [dialog, path] {
    QString report = QStringLiteral("word\t") + dialog->tool_row()->LookupBox()->currentText() +
                     QLatin1Char('\n');
    const ReportModel* senses = dialog->senses()->Model();
    for (int row = 0; row < senses->RowCount(); ++row) {
      report += QStringLiteral("sense\t%1\t%2\t%3\t%4\n")
                    .arg(senses->Cell(row, CSenseListView::kNumberColumn).text.trimmed(),
                         senses->Cell(row, CSenseListView::kWordColumn).text,
                         senses->Cell(row, CSenseListView::kTypeColumn).text,
                         senses->IsChecked(row, CSenseListView::kCheckColumn)
                             ? QStringLiteral("checked")
                             : QStringLiteral("unchecked"));
    }
    for (int tab = 0; tab < dialog->frame()->count(); ++tab)
      report += QStringLiteral("tab\t") + dialog->frame()->tabText(tab) + QLatin1Char('\n');
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(report.toUtf8());
  });
}
