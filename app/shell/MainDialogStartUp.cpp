// The start-up and shut-down sequences of the main window.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSplitter>

#include "app/lookup/custom_entry.h"
#include "app/panes/SenseListView.h"
#include "app/shell/AfterFirstPaint.h"
#include "app/shell/AnagramListLoader.h"
#include "app/shell/DesktopIntegration.h"
#include "app/shell/FindByMeaningCommand.h"
#include "app/shell/FirstLookupWarmUp.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainDialog.h"
#include "app/shell/SplashWnd.h"
#include "app/shell/TipOfTheDay.h"
#include "platform/program_names.h"
#include "ui/MessageBox.h"

namespace {

constexpr char kSettingsMessage[] = "Error reading program settings. Please re-install Verbarium.";
constexpr char kHistorySection[] = "History";
constexpr char kHistoryPrefix[] = "item";
// A word found from another form, with senses in every part of speech and words in most panes:
// the warm-up shows the forms bar, the senses and the panes.
constexpr char kWarmUpWord[] = "lights";

}  // namespace

StartUpOptions StartUpOptions::FromEnvironment() {
  StartUpOptions options;
  options.search = platform::DataSearchFromEnvironment();
  return options;
}

bool CMainDialog::Fail(const QString& message) {
  MessageBox::Error(this, message);
  return false;
}

bool CMainDialog::StartUp(const StartUpOptions& options) {
  if (!settings_.Load()) return Fail(QString::fromLatin1(kSettingsMessage));

  std::string directory = options.current_dir.toStdString();
  if (directory.empty()) {
    std::string error;
    directory = platform::CurrentDirectory(&error);
    if (directory.empty())
      return Fail(QStringLiteral("System error : ") + QString::fromStdString(error));
  }
  desktop_->StartTrayMode();  // in tray mode the window stays hidden
  const platform::DataLocation location = platform::FindDataLocation(directory, options.search);
  help_dir_ = QString::fromStdString(
      platform::FindProgramFolder(directory, options.search, "help", "index.html"));

  if (options.splash &&
      !CSplashWnd::Show(QString::fromStdString(location.DictionaryFile(program::kSplashFile)))) {
    // The dictionaries' message, as for every file of Data/ that cannot be read.
    MessageBox::Error(this, QString::fromLatin1(lookup::kReadErrorMessage));
  }

  find_by_meaning_->SetIndexPath(
      QString::fromStdString(location.DictionaryFile(program::kMeaningIndexFile)));
  const QString failure = handles_.Open(location, options.early_engine);
  if (!failure.isEmpty()) return Fail(failure);
  lookup_->Start(handles_.engine(), handles_.custom_handle(), handles_.jumble(),
                 settings_.Number(Setting::kPanes));
  lookup_->SetIrregularForms(&handles_.irregular_forms());
  WireCustomEntries();

  CHistoryCombo* box = tool_row_->LookupBox();
  box->Load(QString::fromLatin1(kHistorySection), QString::fromLatin1(kHistoryPrefix));
  box->SetMaximum(CHistoryCombo::kDefaultMaximum);
  ApplyFonts();
  ApplyColors();
  if (!settings_.Bytes(Setting::kWindowGeometry).isEmpty())
    restoreGeometry(settings_.Bytes(Setting::kWindowGeometry));
  if (settings_.Bytes(Setting::kSplitterState).isEmpty() ||
      !splitter_->restoreState(settings_.Bytes(Setting::kSplitterState))) {
    splitter_->setSizes({2 * height(), 3 * height()});  // two fifths for the senses
  }

  // The word of the last run comes back.
  if (box->currentIndex() >= 0 && !box->currentText().isEmpty()) lookup_->OnLookup();
  lookup_->UpdateNavigationButtons();
  if (settings_.Text(Setting::kHotkey).isEmpty())
    settings_.SetText(Setting::kHotkey,
                      QString::fromLatin1(Settings::Info(Setting::kHotkey).default_text));
  // The key grab (a connection of its own to the display, the keyboard map) once the window
  // is on the screen.
  RunAfterFirstPaintOrWhenHidden(this, [this] {
    if (!shut_down_) desktop_->RegisterHotKey();
  });

  if (!InTrayMode()) {
    show();
    activateWindow();
  }
  started_ = true;
  LoadAnagramListAfterPaint();
  // In steps, so that typing at once waits for one of them at most.
  RunAfterFirstPaint(this, [this] { RunInTurns(this, FirstLookupWarmUpSteps()); });
  if (settings_.Number(Setting::kSystemTray) == 0) {
    ShowTipOfTheDayWhenPainted(this, &settings_,
                               QString::fromStdString(location.DictionaryFile(program::kTipsFile)));
  }
  lookup_->FocusLookupBox();
  UpdateCommandStates();
  return true;
}

std::vector<std::function<void()>> CMainDialog::FirstLookupWarmUpSteps() {
  auto read_ahead = [this] {
    WarmUpFirstLookup(
        handles_.engine(), handles_.custom_handle(), settings_.Number(Setting::kPanes), frame_,
        {settings_.Font(Setting::kSenseFont).ToFont(), settings_.Font(Setting::kPaneFont).ToFont(),
         settings_.Font(Setting::kUsageFont).ToFont()});
  };
  // The real path once while the window shows no word, the views a lookup changes drawn off
  // the screen, then undone.
  auto real_path = [this] {
    lookup_->WarmUp(QString::fromLatin1(kWarmUpWord), [this] {
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
      const qreal ratio = splitter_->devicePixelRatio();
      QImage image(splitter_->size() * ratio, QImage::Format_ARGB32_Premultiplied);
      image.setDevicePixelRatio(ratio);
      splitter_->render(&image);
    });
  };
  return {read_ahead, [this] { tool_row_->DrawEnabledIcons(); }, [this] { lookup_->HelpForm(); },
          real_path};
}

void CMainDialog::ShutDown() {
  if (shut_down_) return;
  shut_down_ = true;
  // A window that never showed keeps the geometry of the last run.
  if (started_) {
    settings_.SetBytes(Setting::kWindowGeometry, saveGeometry());
    settings_.SetBytes(Setting::kSplitterState, splitter_->saveState());
  }
  CloseTipOfTheDay(this);
  settings_.Save();
  desktop_->UnregisterHotKey();
  senses_->SaveColumnLayout();
  if (stop_anagrams_) stop_anagrams_();
  if (anagram_list_ != nullptr) anagram_list_->Cancel();  // before the stop event closes
  find_by_meaning_->Close();
  tool_row_->LookupBox()->Save(/*add_current_text=*/true);
  handles_.Close();
}
