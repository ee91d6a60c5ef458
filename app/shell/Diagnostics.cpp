#include "app/shell/Diagnostics.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>

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
