// The anagram view in the main window: made for the pane frame's "Anagrams" tab, fed from the
// lookup and the settings, busy while it generates (Escape stops it), stopped at shut-down
// before the engines close; and the "Anagrams" page of the Options sheet.
#include <QShortcut>
#include <QStatusBar>

#include "app/anagrams/AnagramsPropertyPage.h"
#include "app/anagrams/AnagramsView.h"
#include "app/lookup/lookup.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/shell/AfterFirstPaint.h"
#include "app/shell/AnagramListLoader.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainDialog.h"
#include "app/shell/OptionsSheet.h"
#include "app/shell/TipOfTheDay.h"
#include "ui/MessageBox.h"

namespace {

AnagramOptions AnagramOptionsOf(const Settings& settings) {
  AnagramOptions options;
  options.request.min_length = static_cast<int32_t>(settings.Number(Setting::kAgMin));
  options.request.max_length = static_cast<int32_t>(settings.Number(Setting::kAgMax));
  options.request.max_anagrams = static_cast<int32_t>(settings.Number(Setting::kAgNum));
  options.request.permutations = settings.Number(Setting::kPermutations) != 0;
  options.request.use_filter = settings.Number(Setting::kFilter) != 0;
  options.sort = settings.Number(Setting::kSortAnagrams) != 0;
  return options;
}

}  // namespace

void CMainDialog::SetUpAnagrams() {
  auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  stop->setEnabled(false);
  frame_->SetAnagramsViewFactory([this, stop](QWidget* parent) {
    CAnagramsView::Host host;
    host.engine = handles_.jumble();
    host.engine_pending = host.engine == nullptr && anagram_list_ != nullptr;
    host.stop = handles_.stop_anagrams();
    host.looked_up_word = [this] {
      return lookup_->started() ? QString::fromStdString(lookup_->session()->current_word())
                                : QString();
    };
    host.lookup_text = [this] { return tool_row_->LookupBox()->currentText(); };
    host.options = [this] { return AnagramOptionsOf(settings_); };
    host.set_use_filter = [this](bool on) { settings_.SetNumber(Setting::kFilter, on ? 1 : 0); };
    host.status = statusBar();
    auto* view = new CAnagramsView(std::move(host), parent);
    connect(frame_, &CSplitterTabFrame::CurrentKindChanged, view,
            &CAnagramsView::OnCurrentKindChanged);
    connect(view, &CAnagramsView::WordActivated, frame_, &CSplitterTabFrame::WordActivated);
    connect(view, &CAnagramsView::BusyChanged, this, [this, stop](bool busy) {
      stop->setEnabled(busy);
      busy ? EnterBusy() : LeaveBusy();
    });
    connect(stop, &QShortcut::activated, view, &CAnagramsView::StopRequest);
    return view;
  });
  SetAnagramWorkerStopper([this] {
    if (auto* view = qobject_cast<CAnagramsView*>(frame_->AnagramsView())) view->StopRequest();
  });
}

void CMainDialog::LoadAnagramListAfterPaint() {
  anagram_list_ = new AnagramListLoader(this);
  connect(anagram_list_, &AnagramListLoader::Loaded, this, &CMainDialog::OnAnagramListLoaded);
  connect(anagram_list_, &AnagramListLoader::Failed, this, &CMainDialog::OnAnagramListFailed);
  RunAfterFirstPaintOrWhenHidden(this,
                                 [this] { anagram_list_->Load(handles_.anagram_list_path()); });
}

void CMainDialog::OnAnagramListLoaded(JumbleEngine* engine) {
  handles_.AdoptJumble(engine);
  if (auto* view = qobject_cast<CAnagramsView*>(frame_->AnagramsView())) view->SetEngine(engine);
}

void CMainDialog::OnAnagramListFailed(const QString& message) {
  // As a failure during start-up: a request waiting for the list gives up, the one message
  // shows, then the window closes and the program ends.
  if (auto* view = qobject_cast<CAnagramsView*>(frame_->AnagramsView())) view->StopRequest();
  CloseTipOfTheDay(this);
  MessageBox::Error(this, message);
  hide();
  emit LateStartUpFailed();
}

void CMainDialog::AddAnagramsPage(COptionsSheet* sheet) {
  auto* page = new CAnagramsPropertyPage(AnagramOptionsOf(settings_));
  connect(page, &CAnagramsPropertyPage::Modified, sheet, [sheet] { sheet->SetModified(true); });
  sheet->AddPage(page, QStringLiteral("Anagrams"), [this, page] {
    const AnagramOptions options = page->Options();
    settings_.SetNumber(Setting::kAgMin, static_cast<uint32_t>(options.request.min_length));
    settings_.SetNumber(Setting::kAgMax, static_cast<uint32_t>(options.request.max_length));
    settings_.SetNumber(Setting::kAgNum, static_cast<uint32_t>(options.request.max_anagrams));
    settings_.SetNumber(Setting::kPermutations, options.request.permutations ? 1 : 0);
    settings_.SetNumber(Setting::kSortAnagrams, options.sort ? 1 : 0);
  });
}
