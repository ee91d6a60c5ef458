#include "app/shell/TipOfTheDay.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <limits>

#include "app/shell/AfterFirstPaint.h"
#include "app/shell/Settings.h"
#include "ui/TipDlg.h"

namespace {

CTipDlg::Values ReadValues(const Settings& settings) {
  CTipDlg::Values values;
  values.tip_no = static_cast<int>(
      std::min<uint32_t>(settings.Number(Setting::kTipNo), std::numeric_limits<int>::max()));
  values.start_up = settings.Number(Setting::kTipStartUp) != 0;
  values.time_stamp = settings.Text(Setting::kTipTimeStamp);
  values.tips = settings.Number(Setting::kTips) != 0;
  return values;
}

void StoreValues(Settings* settings, const CTipDlg::Values& values) {
  settings->SetNumber(Setting::kTipNo, static_cast<uint32_t>(std::max(values.tip_no, 0)));
  settings->SetNumber(Setting::kTipStartUp, values.start_up ? 1 : 0);
  settings->SetText(Setting::kTipTimeStamp, values.time_stamp);
  settings->SetNumber(Setting::kTips, values.tips ? 1 : 0);  // saved with the others at exit
  settings->WriteNow({Setting::kTipNo, Setting::kTipStartUp, Setting::kTipTimeStamp});
}

}  // namespace

void ShowTipOfTheDayWhenPainted(QWidget* window, Settings* settings, const QString& tips_path) {
  RunAfterFirstPaint(window, [window, settings, tips_path] {
    auto* dialog = new CTipDlg(
        tips_path, ReadValues(*settings),
        [settings](const CTipDlg::Values& values) { StoreValues(settings, values); }, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->Start();
  });
}

void CloseTipOfTheDay(QWidget* window) {
  for (CTipDlg* dialog : window->findChildren<CTipDlg*>(Qt::FindDirectChildrenOnly))
    dialog->done(QDialog::Rejected);
}

void ToggleTipsAtStartUp(Settings* settings) {
  const uint32_t on = settings->Number(Setting::kTips) != 0 ? 0 : 1;
  settings->SetNumber(Setting::kTips, on);
  settings->SetNumber(Setting::kTipStartUp, on);
  settings->WriteNow(Setting::kTipStartUp);
}
